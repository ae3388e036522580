// The audio delay in whole AAC frames.
#pragma once

#include <cstdint>

namespace sarnik {

// delay_ms x 46875 / 1000000 (48000 / 1024 / 1000 frames per millisecond),
// truncated toward zero. Computed in 64 bits, so it holds for every delay a
// 32-bit setting can carry.
constexpr std::int64_t delay_in_frames(std::int32_t delay_ms) {
  return static_cast<std::int64_t>(delay_ms) * 46875 / 1000000;
}

// The amount by which output ranges are shifted for the delay. The add 2
// revision shifts by 108/100 of the delay in frames, truncated toward zero.
constexpr std::int64_t delay_shift_frames(std::int32_t delay_ms, int revision_add) {
  const std::int64_t frames = delay_in_frames(delay_ms);
  return revision_add == 2 ? frames * 108 / 100 : frames;
}

}  // namespace sarnik
