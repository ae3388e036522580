// Copies planned from frames while the scan goes on, and what the output
// step keeps of them.
#include <gtest/gtest.h>

#include <optional>

#include "output/ahead_plan.hpp"
#include "output/copy_plan.hpp"

namespace sarnik {
namespace {

using Jobs = std::vector<CopyJob>;

// Every frame is 10 bytes, back to back from position 0 in its input.
Jobs plan(const std::vector<CutRange>& ranges, const std::vector<std::uint32_t>& frame_counts,
          std::uint64_t job_bytes = 1000) {
  AheadPlanner planner(ranges, job_bytes);
  Jobs jobs;
  for (std::size_t i = 0; i < frame_counts.size(); ++i) {
    planner.begin_input(i);
    for (std::uint32_t k = 0; k < frame_counts[i]; ++k) planner.frame(10u * k, 10, jobs);
    planner.end_input(jobs);
  }
  return jobs;
}

CopyJob job(std::size_t input, std::uint64_t from, std::uint64_t to,
            std::optional<CopyBlock> completes = std::nullopt) {
  return CopyJob{input, from, to, completes};
}

TEST(AheadPlanner, CopiesOfRangesInOrder) {
  struct {
    const char* what;
    std::vector<CutRange> ranges;
    std::vector<std::uint32_t> counts;
    std::uint64_t job_bytes;
    Jobs expected;
  } cases[] = {
      {"one range", {{2, 5}}, {8}, 1000, {job(0, 20, 50, CopyBlock{0, 2, 5})}},
      {"long blocks come in pieces that end on multiples of the job size", {{0, 6}}, {8}, 25,
       {job(0, 0, 25), job(0, 25, 50), job(0, 50, 60, CopyBlock{0, 0, 6})}},
      {"multiples of the output, not of the input", {{1, 3}, {4, 8}}, {8}, 25,
       {job(0, 10, 30, CopyBlock{0, 1, 3}), job(0, 40, 45), job(0, 45, 70), job(0, 70, 80, CopyBlock{0, 4, 8})}},
      {"a piece that ends a block is the block's last copy", {{0, 5}}, {8}, 25,
       {job(0, 0, 25), job(0, 25, 50, CopyBlock{0, 0, 5})}},
      {"a range over two inputs", {{1, 5}}, {3, 4}, 1000,
       {job(0, 10, 30, CopyBlock{0, 1, 3}), job(1, 0, 20, CopyBlock{1, 0, 2})}},
      {"a range cut by the end of the stream", {{5, 100}}, {4, 4}, 1000,
       {job(1, 10, 40, CopyBlock{1, 1, 4})}},
      {"ranges without frames are passed over", {{kNoOutput, kNoOutput}, {3, 3}, {0, 1}, {6, 2}, {2, 3}},
       {8}, 1000, {job(0, 0, 10, CopyBlock{0, 0, 1}), job(0, 20, 30, CopyBlock{0, 2, 3})}},
      {"adjacent ranges", {{0, 2}, {2, 4}}, {8}, 1000,
       {job(0, 0, 20, CopyBlock{0, 0, 2}), job(0, 20, 40, CopyBlock{0, 2, 4})}},
      {"a range back in the stream ends the planning", {{2, 4}, {0, 1}, {5, 6}}, {8}, 1000,
       {job(0, 20, 40, CopyBlock{0, 2, 4})}},
      {"so does an overlapping one", {{0, 3}, {2, 4}}, {8}, 1000,
       {job(0, 0, 30, CopyBlock{0, 0, 3})}},
      {"a range that starts past the stream", {{0, 1}, {20, 30}}, {8}, 1000,
       {job(0, 0, 10, CopyBlock{0, 0, 1})}},
      {"no ranges", {}, {8}, 1000, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(plan(c.ranges, c.counts, c.job_bytes), c.expected) << c.what;
  }
}

TEST(AheadPlanner, FramesNotBackToBackEndThePlanning) {
  AheadPlanner planner({{0, 3}}, 15);
  Jobs jobs;
  planner.begin_input(0);
  planner.frame(0, 10, jobs);
  planner.frame(10, 10, jobs);
  planner.frame(25, 10, jobs);  // five bytes were skipped
  planner.end_input(jobs);
  // The piece emitted before stays; the block is never whole.
  EXPECT_EQ(jobs, (Jobs{job(0, 0, 15)}));
  EXPECT_TRUE(planner.stopped());
}

TEST(InPlaceMatch, KeepsTheWrittenPrefix) {
  using Blocks = std::vector<CopyBlock>;
  const Blocks written = {{0, 0, 50}, {1, 0, 30}, {1, 40, 60}};
  struct {
    const char* what;
    Blocks wanted;
    std::vector<bool> expected;
  } cases[] = {
      {"all of it", {{0, 0, 50}, {1, 0, 30}, {1, 40, 60}}, {true, true, true}},
      {"more than was written", {{0, 0, 50}, {1, 0, 30}, {1, 40, 60}, {1, 60, 70}},
       {true, true, true, false}},
      {"a wanted block shorter than written ends the match",
       {{0, 0, 50}, {1, 0, 20}, {1, 40, 60}}, {true, true, false}},
      {"a longer one is not in place", {{0, 0, 50}, {1, 0, 31}, {1, 40, 60}},
       {true, false, false}},
      {"another start", {{0, 1, 50}, {1, 0, 30}}, {false, false}},
      {"another input", {{1, 0, 50}}, {false}},
      {"a block left out", {{0, 0, 50}, {1, 40, 60}}, {true, false}},
  };
  for (const auto& c : cases) {
    InPlaceMatch match(&written);
    std::vector<bool> got;
    for (const CopyBlock& block : c.wanted) got.push_back(match.next(block));
    EXPECT_EQ(got, c.expected) << c.what;
  }
  InPlaceMatch nothing(nullptr);
  EXPECT_FALSE(nothing.next({0, 0, 50}));
}

}  // namespace
}  // namespace sarnik
