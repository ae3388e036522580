#include "driver/fallback_range.hpp"

namespace sarnik {

CutRange fallback_range(std::int32_t total_frames, std::int64_t delay_shift) {
  std::int64_t start = 0;
  std::int64_t end = total_frames;
  if (delay_shift > 0) {
    end = total_frames - delay_shift;
    if (end <= 0) end = 0;
  } else {
    start = -delay_shift;
  }
  if (start == end) return CutRange{kNoOutput, kNoOutput};
  return CutRange{static_cast<std::int32_t>(start), static_cast<std::int32_t>(end)};
}

}  // namespace sarnik
