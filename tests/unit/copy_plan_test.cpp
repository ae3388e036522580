#include <gtest/gtest.h>

#include "driver/run_main.hpp"
#include "output/copy_plan.hpp"

namespace sarnik {
namespace {

using Blocks = std::vector<CopyBlock>;

TEST(CopyPlan, RangesOverInputs) {
  const std::vector<std::uint32_t> counts = {50, 100};
  struct {
    CutRange range;
    Blocks expected;
  } cases[] = {
      {{0, 150}, {{0, 0, 50}, {1, 0, 100}}},
      {{0, 145}, {{0, 0, 50}, {1, 0, 95}}},
      {{5, 150}, {{0, 5, 50}, {1, 0, 100}}},
      {{40, 70}, {{0, 40, 50}, {1, 0, 20}}},
      {{60, 80}, {{1, 10, 30}}},
      {{10, 20}, {{0, 10, 20}}},
      {{0, 50}, {{0, 0, 50}}},  // ends with the first input: no write in the second
      {{100, 400}, {{1, 50, 100}}},
      {{150, 200}, {}},
      {{200, 150}, {}},
      {{-1, -1}, {}},
      {{30, 30}, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(plan_range(counts, c.range), c.expected) << c.range.start << "," << c.range.end;
  }
  EXPECT_EQ(plan_range({100, 50}, {120, 140}), (Blocks{{1, 20, 40}}));
}

TEST(FallbackRange, DelayShift) {
  struct {
    std::int32_t total;
    std::int64_t shift;
    std::int32_t start, end;
  } cases[] = {{150, 0, 0, 150},    {150, 5, 0, 145},   {150, -5, 5, 150},  {150, 150, -1, -1},
               {150, 400, -1, -1},  {150, -150, -1, -1}, {150, -151, 151, 150}, {100, 49, 0, 51},
               {100, -49, 49, 100}};
  for (const auto& c : cases) {
    const CutRange r = fallback_range(c.total, c.shift);
    EXPECT_EQ(r.start, c.start) << c.total << " " << c.shift;
    EXPECT_EQ(r.end, c.end) << c.total << " " << c.shift;
  }
}

TEST(TotalFrameCount, SumsAndRefusesOverflow) {
  std::vector<AdtsInput> inputs(2);
  inputs[0].frame_count = 50;
  inputs[1].frame_count = 100;
  EXPECT_EQ(total_frame_count(inputs), 150);
  EXPECT_EQ(total_frame_count({}), 0);
  inputs[0].frame_count = 0x7FFFFFFF;
  EXPECT_ANY_THROW(total_frame_count(inputs));
}

}  // namespace
}  // namespace sarnik

#include "common/delay.hpp"

namespace sarnik {
namespace {

TEST(DelayInFrames, TruncatesTowardZeroWithoutOverflow) {
  struct {
    std::int32_t ms;
    std::int64_t frames, add2_frames;
  } cases[] = {{100, 4, 4},        {124, 5, 5},          {-100, -4, -4},     {500, 23, 24},
               {21, 0, 0},         {277, 12, 12},        {278, 13, 14},      {-278, -13, -14},
               {1000, 46, 49},     {45812, 2147, 2318},  // the last delay whose 32-bit product fits
               {9999999, 468749, 506248}, {-999999, -46874, -50623},
               {2147483647, 100663295, 108716358}};
  for (const auto& c : cases) {
    EXPECT_EQ(delay_in_frames(c.ms), c.frames) << c.ms;
    EXPECT_EQ(delay_shift_frames(c.ms, 3), c.frames) << c.ms;
    EXPECT_EQ(delay_shift_frames(c.ms, 2), c.add2_frames) << c.ms;
  }
}

}  // namespace
}  // namespace sarnik
