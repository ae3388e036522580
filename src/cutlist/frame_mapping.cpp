#include "cutlist/frame_mapping.hpp"

#include <algorithm>
#include <limits>

namespace sarnik {
namespace {

// AAC frames per video frame: 1001/1280 at 59.94 and 1001/640 at 29.97 fps,
// as the nearest doubles (both lie just below the exact ratios). The frame
// numbers depend on exactly these values and on every step being rounded to
// double, so the program is built without contraction into fused operations
// (-ffp-contract=off for every file).
constexpr double kFactor5994 = 0.78203125;
constexpr double kFactor2997 = 1.5640625;
constexpr std::int32_t kMultiplier5994 = 282;
constexpr std::int32_t kMultiplier2997 = 564;
constexpr double kThousandth = 0.001;

std::int32_t truncate_i32(double z) {
  if (z >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (z <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(z);  // toward zero
}

CutRange range_of(const TrimCall& call, const FrameMapping& mapping, std::int64_t total,
                  std::int64_t shift) {
  std::int64_t s = video_to_audio_frame(call.first, mapping) - shift;
  std::int64_t start = s;
  if (s >= total) {
    start = total - 1;
  } else if (s < 0) {
    start = 0;
    s = 0;
  }

  std::int64_t end = total;  // a call to the end of the stream: whatever the delay
  if (call.end != kToStreamEnd) {
    // An end beyond the stream is cut there; one not after the start leaves
    // nothing.
    const std::int64_t e = video_to_audio_frame(call.end, mapping) - shift;
    if (e <= total) {
      if (e <= s) return CutRange{kNoOutput, kNoOutput};
      end = e;
    }
  }
  return CutRange{static_cast<std::int32_t>(start), static_cast<std::int32_t>(end)};
}

// Every frame of the stream: a positive shift drops frames at the end, a
// negative one at the start. A range that comes out empty produces no output.
CutRange whole_stream(std::int64_t total, std::int64_t shift) {
  const std::int64_t start = shift > 0 ? 0 : -shift;
  const std::int64_t end = shift > 0 ? std::max<std::int64_t>(total - shift, 0) : total;
  if (start == end) return CutRange{kNoOutput, kNoOutput};
  return CutRange{static_cast<std::int32_t>(start), static_cast<std::int32_t>(end)};
}

}  // namespace

std::int64_t delay_shift_frames(const FrameMapping& mapping) {
  // Computed in 64 bits, so it holds for every delay a 32-bit setting carries.
  const std::int64_t frames = std::int64_t{mapping.delay} * 46875 / 1000000;
  return frames * mapping.shift_percent / 100;
}

std::int32_t sub_frame_correction(std::int32_t delay, std::int32_t frame_rate) {
  const std::int32_t k = frame_rate == kFrameRate5994 ? kMultiplier5994 : kMultiplier2997;
  const std::int32_t r = delay % 125;  // -124 to 124, the sign of the delay
  const std::int32_t x = r * k;
  const std::int32_t y = x + x / 2000;
  return y % 1000;
}

std::int32_t video_to_audio_frame(std::int32_t v, const FrameMapping& mapping) {
  if (mapping.direct_frames) return v;
  if (v == 0) return 0;
  const double factor = mapping.frame_rate == kFrameRate5994 ? kFactor5994 : kFactor2997;
  const std::int32_t t = sub_frame_correction(mapping.delay, mapping.frame_rate);
  const double m = v * factor;
  const double n = t * kThousandth;
  const double z = m - n;
  return truncate_i32(z);
}

std::vector<CutRange> cut_ranges(const std::vector<TrimCall>& calls, const FrameMapping& mapping,
                                 std::int32_t total) {
  const std::int64_t shift = delay_shift_frames(mapping);
  if (calls.empty()) return {whole_stream(total, shift)};
  std::vector<CutRange> ranges;
  ranges.reserve(calls.size());
  for (const TrimCall& call : calls) ranges.push_back(range_of(call, mapping, total, shift));
  return ranges;
}

}  // namespace sarnik
