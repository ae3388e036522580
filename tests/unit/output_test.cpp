// Ranges over inputs of 50 and 100 frames to the blocks copied, and where a cut-short frame goes.
#include <gtest/gtest.h>

#include "output/copy_plan.hpp"

namespace sarnik {
namespace {

TEST(Output, RangeToBlocks) {
  const struct {
    std::vector<std::uint32_t> counts;
    CutRange range;
    std::vector<CopyBlock> expected;  // input, first frame, end frame
  } cases[] = {
      {{50, 100}, {5, 145}, {{0, 5, 50}, {1, 0, 95}}},
      {{50, 100}, {60, 80}, {{1, 10, 30}}},
      {{50, 100}, {0, 50}, {{0, 0, 50}}},
      {{50, 100}, {49, 51}, {{0, 49, 50}, {1, 0, 1}}},
      {{50, 100}, {100, 400}, {{1, 50, 100}}},
      {{50, 100}, {150, 200}, {}},
      {{50, 100}, {200, 150}, {}},
      {{50, 100}, {kNoOutput, kNoOutput}, {}},
      {{100, 50}, {120, 140}, {{1, 20, 40}}},
  };
  for (const auto& c : cases) EXPECT_EQ(plan_range(c.counts, c.range), c.expected) << c.range.start;
}

// Inputs of 50 and 100 frames; the first (or the second) ends in a frame that its file cuts short.
TEST(Output, CutFrameOnlyLast) {
  const struct {
    std::vector<bool> cut_short;
    std::vector<CutRange> ranges;
    bool inside;
  } cases[] = {
      {{true, false}, {{0, 150}}, true},
      {{true, false}, {{49, 51}}, true},
      {{true, false}, {{0, 50}}, false},
      {{true, false}, {{40, 50}, {0, 10}}, true},
      {{true, false}, {{40, 49}, {0, 10}}, false},
      {{true, false}, {{40, 50}, {kNoOutput, kNoOutput}, {150, 160}}, false},
      {{false, true}, {{0, 150}}, false},
      {{false, true}, {{0, 200}, {60, 61}}, true},
      {{false, true}, {{140, 150}, {149, 150}}, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cut_frame_inside({50, 100}, c.cut_short, c.ranges), c.inside) << c.ranges[0].start;
  }
}

}  // namespace
}  // namespace sarnik
