#include "output/copy_plan.hpp"

#include <algorithm>

namespace sarnik {

std::vector<CopyBlock> plan_range(const std::vector<std::uint32_t>& frame_counts, CutRange range) {
  std::vector<CopyBlock> blocks;
  if (range.start < 0 || range.end <= range.start) return blocks;
  const std::uint64_t s = static_cast<std::uint64_t>(range.start);
  const std::uint64_t e = static_cast<std::uint64_t>(range.end);

  std::uint64_t passed = 0;  // frames of the inputs before the one in hand
  for (std::size_t i = 0; i < frame_counts.size(); ++i) {
    const std::uint64_t count = frame_counts[i];
    if (passed + count > s) {
      const std::uint64_t first = std::max(s, passed) - passed;
      const std::uint64_t end = std::min(e - passed, count);
      blocks.push_back(
          CopyBlock{i, static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(end)});
      if (passed + end >= e) break;
    }
    passed += count;
  }
  return blocks;
}

bool cut_frame_inside(const std::vector<std::uint32_t>& frame_counts,
                      const std::vector<bool>& cut_short, const std::vector<CutRange>& ranges) {
  bool output_ends_cut = false;  // the last block so far ends with a cut-short frame
  for (const CutRange& range : ranges) {
    for (const CopyBlock& block : plan_range(frame_counts, range)) {
      if (output_ends_cut) return true;
      output_ends_cut = cut_short[block.input] && block.end == frame_counts[block.input];
    }
  }
  return false;
}

}  // namespace sarnik
