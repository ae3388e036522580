// ADTS frames built bit by bit, for streams with exactly the properties a
// test needs.
#pragma once

#include <cstdint>
#include <string>

namespace sarnik::test {

struct FrameSpec {
  std::uint32_t length = 384;        // aac_frame_length, header included
  std::uint32_t mpeg_id = 0;         // 0 = MPEG-4, 1 = MPEG-2
  std::uint32_t profile = 1;         // 1 = LC
  std::uint32_t sf_index = 3;        // 3 = 48000 Hz
  std::uint32_t channels = 2;
  std::uint32_t protection_absent = 1;
};

// The 7 header bytes of a frame.
std::string adts_header(const FrameSpec& shape);

// A whole frame: header, then length - 7 payload bytes derived from seed.
// Payload bytes are never 0xFF, so no syncword appears inside a frame.
std::string adts_frame(const FrameSpec& shape, std::uint32_t seed = 0);

// count frames of shape, each with its own payload.
std::string adts_stream(std::uint32_t count, const FrameSpec& shape = {}, std::uint32_t first_seed = 0);

}  // namespace sarnik::test
