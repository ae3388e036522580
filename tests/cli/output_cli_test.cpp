// The output file's bytes against the inputs' frames, and the console lines
// of the output step.
#include <unistd.h>

#include "cli/cli.hpp"

namespace sarnik::test {
namespace {

class OutputCli : public ::testing::Test {
 protected:
  void SetUp() override {
    // Inputs of 50 and 100 frames, every frame with its own bytes and a
    // length of its own.
    for (std::uint32_t i = 0; i < 150; ++i) {
      FrameSpec shape;
      shape.length = 200 + (i * 13) % 300;
      frames.push_back(adts_frame(shape, i));
    }
    dir.write("a.aac", join(0, 50));
    dir.write("b.aac", join(50, 150));
  }
  // Frames [first, end) of the joined stream.
  std::string join(std::size_t first, std::size_t end) const {
    std::string out;
    for (std::size_t i = first; i < end; ++i) out += frames[i];
    return out;
  }
  ProcessResult run(const std::vector<std::string>& args) { return run_sarnik(args, dir.path()); }
  std::string reports() const {
    return stereo_report("a.aac", static_cast<std::uint32_t>(join(0, 50).size()), 50, "00:00:01",
                         rate_a) +
           stereo_report("b.aac", static_cast<std::uint32_t>(join(50, 150).size()), 100, "00:00:02",
                         rate_b);
  }

  TempDir dir;
  std::vector<std::string> frames;
  const std::string rate_a = "129.188";
  const std::string rate_b = "130.313";
};

TEST_F(OutputCli, FallbackRangeWithDelay) {
  struct {
    const char* delay;
    std::string ranges;
    std::size_t first, end;
  } cases[] = {{"0", "Trim(0,149)", 0, 150},
               {"107", "Trim(0,144)", 0, 145},
               {"-107", "Trim(5,149)", 5, 150}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.delay);
    const std::string expected = join(c.first, c.end);
    EXPECT_RUN(run({"-o", "out.aac", "-d", c.delay, "a.aac", "b.aac"}),
               kBanner3 + reports() + output_lines(c.ranges, expected.size(), c.end - c.first), "", 0);
    EXPECT_EQ(read_file(dir.file("out.aac")), expected);
  }
}

TEST_F(OutputCli, DelayBeyondTheStream) {
  // 3200 ms are 150 frames: everything is dropped.
  EXPECT_RUN(run({"-o", "out.aac", "-d", "3200", "a.aac", "b.aac"}),
             kBanner3 + reports() + output_lines("(no output)", 0, 0), "", 0);
  EXPECT_EQ(read_file(dir.file("out.aac")), "");
  // -3300 ms are -154 frames: the range starts beyond the end of the stream.
  EXPECT_RUN(run({"-o", "out.aac", "-d", "-3300", "a.aac", "b.aac"}),
             kBanner3 + reports() + output_lines("Trim(154,149)", 0, 0), "", 0);
  EXPECT_EQ(read_file(dir.file("out.aac")), "");
}

TEST_F(OutputCli, RangesAcrossInputs) {
  struct {
    const char* trim;
    std::string ranges;
    std::vector<std::pair<std::size_t, std::size_t>> parts;
  } cases[] = {
      {"Trim(40,69)", "Trim(40,69)", {{40, 70}}},
      {"Trim(60,79)", "Trim(60,79)", {{60, 80}}},
      {"Trim(10,19)", "Trim(10,19)", {{10, 20}}},
      {"Trim(0,99)+Trim(160,170)+Trim(120,-30)", "Trim(0,99)+Trim(149,149)+Trim(120,149)",
       {{0, 100}, {149, 150}, {120, 150}}},
      {"Trim(100,149)+Trim(0,9)+Trim(5,14)", "Trim(100,149)+Trim(0,9)+Trim(5,14)",
       {{100, 150}, {0, 10}, {5, 15}}},
      {"Trim(20,10)", "Trim(20,20)", {{20, 21}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.trim);
    std::string expected;
    std::size_t count = 0;
    for (const auto& [first, end] : c.parts) {
      expected += join(first, end);
      count += end - first;
    }
    EXPECT_RUN(run({"-a", "-t", c.trim, "-o", "out.aac", "a.aac", "b.aac"}),
               kBanner3 + reports() + output_lines(c.ranges, expected.size(), count), "", 0);
    EXPECT_EQ(read_file(dir.file("out.aac")), expected);
  }
}

TEST_F(OutputCli, NoOutputRangeAmongOthers) {
  // At 59.94 fps video frame 4 and its end 5 both map to AAC frame 3.
  const ProcessResult r = run({"-f", "59.94", "-t", "Trim(0,127)+Trim(4,4)+Trim(128,191)", "-o",
                               "out.aac", "a.aac", "b.aac"});
  const std::string expected = join(0, 150);
  EXPECT_RUN(r, kBanner3 + reports() + output_lines("Trim(0,99)+(no output)+Trim(100,149)", expected.size(), 150),
             "", 0);
  EXPECT_EQ(read_file(dir.file("out.aac")), expected);
}

TEST_F(OutputCli, TrimTextWithoutUsableCallIsTheFallback) {
  for (const char* trim : {"", "Trim(5,)", "trim(,5)", "Trim(12345678,1)"}) {
    SCOPED_TRACE(trim);
    const std::string expected = join(0, 150);
    EXPECT_RUN(run({"-t", trim, "-o", "out.aac", "a.aac", "b.aac"}),
               kBanner3 + reports() + output_lines("Trim(0,149)", expected.size(), 150), "", 0);
  }
}

TEST_F(OutputCli, DiskFullIsAnError) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full on this system";
  const ProcessResult r = run({"-o", "/dev/full", "a.aac", "b.aac"});
  EXPECT_EQ(r.err, error_line("出力ファイルの書き込みに失敗しました。"));
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, kBanner3 + reports() + sjis("出力中...\nTrim(0,149)"));
}

}  // namespace
}  // namespace sarnik::test

namespace sarnik::test {
namespace {

TEST(TrimScriptCli, ScriptsByLineEndAndDelay) {
  TempDir dir;
  dir.write("in.aac", adts_stream(2000));
  dir.write("lf.avs", "# edit\nSource(\"x\")\nTrim(1000,1999) ++ Trim(0,99)\n\\+Trim(10,-5)\nTrim(0,9)\n");
  dir.write("crlf.avs",
            "# edit\r\nSource(\"x\")\r\nTrim(1000,1999) ++ Trim(0,99)\r\n\\+Trim(10,-5)\r\nTrim(0,9)\r\n");
  struct {
    const char* script;
    std::vector<std::string> options;
    std::string ranges;
    std::uint64_t frames;
  } cases[] = {
      {"lf.avs", {}, "Trim(1564,1999)+Trim(0,155)+Trim(15,22)", 436 + 156 + 8},
      {"crlf.avs", {}, "Trim(1564,1999)+Trim(0,155)+Trim(15,22)", 436 + 156 + 8},
      {"crlf.avs", {"-d", "100"}, "Trim(1559,1999)+Trim(0,150)+Trim(11,18)", 441 + 151 + 8},
      {"crlf.avs", {"-f", "59.94"}, "Trim(782,1563)+Trim(0,77)+Trim(7,10)", 782 + 78 + 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script + std::string(" ") + (c.options.empty() ? "" : c.options[0]));
    std::vector<std::string> args = c.options;
    args.insert(args.end(), {"-t", c.script, "-o", "out.aac", "in.aac"});
    const ProcessResult r = run_sarnik(args, dir.path());
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exit_code, 0);
    const std::string tail = output_lines(c.ranges, c.frames * 384, c.frames);
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
    EXPECT_EQ(read_file(dir.file("out.aac")).size(), c.frames * 384);
  }
}

}  // namespace
}  // namespace sarnik::test
