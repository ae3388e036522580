#include "common/frame_count.hpp"

#include <limits>

#include "common/fail.hpp"

namespace sarnik {

std::int32_t total_frame_count(const std::vector<AdtsInput>& inputs) {
  std::int64_t total = 0;
  for (const AdtsInput& input : inputs) {
    total += input.frame_count;
    if (total > std::numeric_limits<std::int32_t>::max()) fail_and_exit(Msg::too_many_frames);
  }
  return static_cast<std::int32_t>(total);
}

}  // namespace sarnik
