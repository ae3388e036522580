// Ranges over inputs of 50 and 100 frames to the blocks copied; the frame total; an input
// changed after its scan, refused before anything is copied.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "driver/run_main.hpp"
#include "output/copy_plan.hpp"
#include "output/write_output.hpp"
#include "support/product.hpp"
#include "support/support.hpp"

namespace sarnik {
namespace {

TEST(Output, RangeToBlocks) {
  // clang-format off
  const struct {
    std::vector<std::uint32_t> counts;
    CutRange range;
    std::vector<CopyBlock> expected;  // input, first frame, end frame
  } cases[] = {
      {{50, 100}, {0, 150}, {{0, 0, 50}, {1, 0, 100}}}, {{50, 100}, {5, 145}, {{0, 5, 50}, {1, 0, 95}}},
      {{50, 100}, {40, 70}, {{0, 40, 50}, {1, 0, 20}}}, {{50, 100}, {60, 80}, {{1, 10, 30}}},
      {{50, 100}, {10, 20}, {{0, 10, 20}}}, {{50, 100}, {0, 50}, {{0, 0, 50}}},
      {{50, 100}, {49, 51}, {{0, 49, 50}, {1, 0, 1}}}, {{50, 100}, {100, 400}, {{1, 50, 100}}},
      {{50, 100}, {150, 200}, {}}, {{50, 100}, {200, 150}, {}}, {{50, 100}, {kNoOutput, kNoOutput}, {}},
      {{50, 100}, {30, 30}, {}}, {{100, 50}, {120, 140}, {{1, 20, 40}}},
  };
  // clang-format on
  for (const auto& c : cases) EXPECT_EQ(plan_range(c.counts, c.range), c.expected) << c.range.start;
}

TEST(Output, FrameTotal) {
  std::vector<ScannedInput> inputs(2);
  inputs[1].frames.frame_count = 100;
  for (const std::uint32_t first : {50u, 0x7FFFFFFFu - 100}) {
    inputs[0].frames.frame_count = first;
    EXPECT_EQ(total_frame_count(inputs), first + 100);
  }
  inputs[0].frames.frame_count += 1;
  EXPECT_THROW(total_frame_count(inputs), FatalError);
}

// Rewritten in place (its size kept), or replaced under its name: refused, nothing copied.
TEST(Output, InputChangedAfterItsScanIsRefused) {
  for (const bool replaced : {false, true}) {
    const test::TempDir dir;
    const std::string name = dir.write("in.aac", test::adts_stream(100));
    test::CapturedConsole captured;
    std::vector<ScannedInput> inputs;
    inputs.push_back(scan_adts_file(name.c_str(), captured.console));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a tick of the clock that stamps
    if (replaced) std::filesystem::rename(dir.write("new.aac", test::adts_stream(100)), name);
    if (!replaced) dir.write("in.aac", test::adts_stream(100, {}, 7));
    platform::File output;
    ASSERT_TRUE(output.create_write(dir.file("out.aac").c_str()));
    try {
      write_output(inputs, {CutRange{0, 100}}, output, captured.console);
      ADD_FAILURE() << "a changed input was copied";
    } catch (const FatalError& e) {
      EXPECT_EQ(text(e.message), test::sjis("AAC ファイルが読み込み後に変更されました。"));
    }
    EXPECT_EQ(test::read_file(dir.file("out.aac")), "");
  }
}

}  // namespace
}  // namespace sarnik
