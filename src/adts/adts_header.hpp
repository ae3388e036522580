// The fields of an ADTS frame header that the scanner uses.
#pragma once

#include <cstdint>

namespace sarnik {

inline constexpr std::uint32_t kAdtsHeaderSize = 7;

struct AdtsHeader {
  std::uint32_t mpeg_id = 0;         // 0 = MPEG-4, 1 = MPEG-2
  std::uint32_t profile = 0;
  std::uint32_t sampling_rate = 0;   // Hz, 0 for the reserved indices 12-15
  std::uint32_t channel_config = 0;
  std::uint32_t frame_length = 0;    // bytes, header included
};

// Whether a frame header starts at h: the syncword, a layer of 0 and a frame
// length that at least covers the header itself. Reads h[0..6].
bool is_adts_header(const std::uint8_t* h);

// The header fields at h. Reads h[0..6].
AdtsHeader parse_adts_header(const std::uint8_t* h);

}  // namespace sarnik
