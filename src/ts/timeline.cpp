#include "ts/timeline.hpp"

#include "common/fail.hpp"
#include "ts/pes.hpp"

namespace sarnik {

std::int64_t Timeline::unwrap(std::int64_t pts) {
  last_ = started_ ? last_ + clock_difference(last_ & (kClockWrap - 1), pts) : pts;
  started_ = true;
  return last_;
}

Placement Timeline::place(std::optional<std::int64_t> pts, bool clock_jump, std::int64_t samples) {
  Placement placement;
  if (pts) {
    const bool first = !started_;
    const std::int64_t at = unwrap(*pts);
    // Both places in ticks times rate, so that no rounding drifts.
    const std::int64_t expected = anchor_ * rate_ + samples_ * kClockRate;
    const std::int64_t late = at * rate_ - expected;
    constexpr std::int64_t kFrame = kSamplesPerFrame * kClockRate;
    constexpr std::int64_t half_frame = kFrame / 2;
    if (!first && !clock_jump && late > half_frame) {
      const std::int64_t frames = (late + half_frame) / kFrame;  // the nearest, halves up
      if (frames * kSamplesPerFrame > kMaxFillSeconds * rate_) fail_and_exit(Msg::ts_gap_too_long);
      placement = Placement{static_cast<std::uint32_t>(frames), expected / rate_};
    }
    if (first || clock_jump || late > half_frame || late < -half_frame) {
      anchor_ = at;
      samples_ = 0;
    }
  }
  samples_ += samples;
  return placement;
}

}  // namespace sarnik
