// Ranges over inputs of 50 and 100 frames to the blocks copied.
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

}  // namespace
}  // namespace sarnik
