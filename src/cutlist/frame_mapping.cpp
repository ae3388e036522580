#include "cutlist/frame_mapping.hpp"

#include <limits>

namespace sarnik {
namespace {

// AAC frames per video frame: 1001/1280 at 59.94 and 1001/640 at 29.97 fps,
// as the nearest doubles (both lie just below the exact ratios). The frame
// numbers depend on exactly these values and on every step being rounded to
// double, so this file is built without contraction into fused operations.
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

}  // namespace

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

}  // namespace sarnik
