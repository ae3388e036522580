// The fields of an ADTS frame header that the scanner uses, read in
// bitstream order. Everything here is inline: the scanner tests a header at
// every frame of every input.
#pragma once

#include <cstdint>

namespace sarnik {

inline constexpr std::uint32_t kAdtsHeaderSize = 7;

// The bit field of width bits that starts at bit first (bit 0 is the most
// significant bit of p[0]) of the four bytes p[0..3] read big-endian.
// first + width must not exceed 32.
constexpr std::uint32_t read_bits(const std::uint8_t* p, unsigned first, unsigned width) {
  const std::uint32_t word = (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
                             (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
  const std::uint32_t mask = width >= 32 ? ~std::uint32_t{0} : (std::uint32_t{1} << width) - 1;
  return (word >> (32 - first - width)) & mask;
}

struct AdtsHeader {
  std::uint32_t mpeg_id = 0;  // 0 = MPEG-4, 1 = MPEG-2
  std::uint32_t profile = 0;
  std::uint32_t sampling_rate = 0;  // Hz, 0 for the reserved indices 12-15
  std::uint32_t channel_config = 0;
  std::uint32_t frame_length = 0;  // bytes, header included
};

// aac_frame_length, bits 30-42 of the header at h.
constexpr std::uint32_t adts_frame_length(const std::uint8_t* h) { return read_bits(h + 3, 6, 13); }
// protection_absent, bit 15: 1 when no CRC follows the header.
constexpr std::uint32_t adts_protection_absent(const std::uint8_t* h) {
  return read_bits(h, 15, 1);
}
// channel_configuration, bits 23-25.
constexpr std::uint32_t adts_channel_config(const std::uint8_t* h) { return read_bits(h, 23, 3); }

// The largest aac_frame_length, the 13-bit field all ones.
inline constexpr std::uint32_t kMaxAdtsFrameLength = 8191;

// Sets aac_frame_length of the header at h to length (at most
// kMaxAdtsFrameLength): the low 2 bits of h[3], h[4] and the high 3 bits
// of h[5].
constexpr void set_adts_frame_length(std::uint8_t* h, std::uint32_t length) {
  h[3] = static_cast<std::uint8_t>((h[3] & 0xFC) | (length >> 11));
  h[4] = static_cast<std::uint8_t>(length >> 3);
  h[5] = static_cast<std::uint8_t>((h[5] & 0x1F) | ((length & 0x07) << 5));
}

// Whether the frame at h is one the program edits: AAC LC (profile 1) at
// 48000 Hz (sampling_frequency_index 3), one raw data block of 1024 samples
// (number_of_raw_data_blocks_in_frame, bits 54-55, says one less).
constexpr bool is_editable_frame(const std::uint8_t* h) {
  return read_bits(h, 16, 2) == 1 && read_bits(h, 18, 4) == 3 && read_bits(h + 3, 30, 2) == 0;
}

// Whether a frame header starts at h: the syncword, a layer of 0 and a frame
// length that at least covers the header itself. Reads h[0..6].
constexpr bool is_adts_header(const std::uint8_t* h) {
  // syncword (12 bits, all ones) and layer (2 bits, 00); the ID and the
  // protection_absent bits do not take part.
  if (h[0] != 0xFF || (h[1] & 0xF6) != 0xF0) return false;
  // A length shorter than the header would not move the scan forward.
  return adts_frame_length(h) >= kAdtsHeaderSize;
}

// The header fields at h. Reads h[0..6].
constexpr AdtsHeader parse_adts_header(const std::uint8_t* h) {
  constexpr std::uint32_t kSamplingRates[16] = {96000, 88200, 64000, 48000, 44100, 32000,
                                                24000, 22050, 16000, 12000, 11025, 8000,
                                                0,     0,     0,     0};
  AdtsHeader header;
  header.mpeg_id = read_bits(h, 12, 1);                        // ID
  header.profile = read_bits(h, 16, 2);                        // profile_ObjectType
  header.sampling_rate = kSamplingRates[read_bits(h, 18, 4)];  // sampling_frequency_index
  header.channel_config = adts_channel_config(h);              // channel_configuration
  header.frame_length = adts_frame_length(h);                  // aac_frame_length
  return header;
}

}  // namespace sarnik
