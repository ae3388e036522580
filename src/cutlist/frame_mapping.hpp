// Trim calls to output ranges: video frame numbers to AAC frame numbers, and
// every use of the delay.
#pragma once

#include <cstdint>
#include <vector>

#include "common/records.hpp"
#include "common/settings.hpp"
#include "cutlist/trim_text.hpp"

namespace sarnik {

struct FrameMapping {
  std::int32_t frame_rate = kFrameRate2997;  // thousandths of a frame per second
  bool direct_frames = false;                // -a: the numbers are AAC frames already
  std::int32_t delay = 0;                    // milliseconds
  // The ranges shift by this share of the delay in whole frames (add 2: 108).
  std::int32_t shift_percent = 100;
};

// The delay in whole AAC frames (delay x 46875 / 1000000, truncated toward
// zero), taken by shift_percent / 100, truncated toward zero: the number of
// frames by which every output range shifts.
std::int64_t delay_shift_frames(const FrameMapping& mapping);

// The sub-frame correction of the delay, in thousandths of an AAC frame
// (-999 to 999); it depends only on the delay modulo 125 ms.
std::int32_t sub_frame_correction(std::int32_t delay, std::int32_t frame_rate);

// The AAC frame in which video frame v (0 or more) begins, less the
// sub-frame correction; v itself with direct frames.
std::int32_t video_to_audio_frame(std::int32_t v, const FrameMapping& mapping);

// The output ranges of the calls over a stream of total frames (at least 1),
// one for each call; without calls, the whole stream, shifted by the delay.
std::vector<CutRange> cut_ranges(const std::vector<TrimCall>& calls, const FrameMapping& mapping,
                                 std::int32_t total);

}  // namespace sarnik
