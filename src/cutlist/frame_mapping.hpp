// Video frame numbers to AAC frame numbers.
#pragma once

#include <cstdint>

#include "common/settings.hpp"

namespace sarnik {

struct FrameMapping {
  std::int32_t frame_rate = kFrameRate2997;  // thousandths of a frame per second
  bool direct_frames = false;                // -a: the numbers are AAC frames already
  std::int32_t delay = 0;                    // milliseconds
};

// The sub-frame correction of the delay, in thousandths of an AAC frame
// (-999 to 999); it depends only on the delay modulo 125 ms.
std::int32_t sub_frame_correction(std::int32_t delay, std::int32_t frame_rate);

// The AAC frame in which video frame v (0 or more) begins, less the
// sub-frame correction; v itself with direct frames.
std::int32_t video_to_audio_frame(std::int32_t v, const FrameMapping& mapping);

}  // namespace sarnik
