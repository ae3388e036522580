// The add 2 revision: its banner, its -x rule and its 108/100 delay shift.
#include "cli/cli.hpp"

namespace sarnik::test {
namespace {

class Add2Cli : public ::testing::Test {
 protected:
  ProcessResult run(Program p, const std::vector<std::string>& args) {
    return run_sarnik(p, args, dir.path());
  }
  std::string x_lines(const std::string& delay, const std::string& output) {
    return sjis("-xオプションにより、以下のオプションを自動的に追加\n    -d " + delay + "\n    -o \"" +
                output + "\"\n");
  }
  TempDir dir;
};

TEST_F(Add2Cli, DeriveFromName) {
  struct {
    const char* input;
    const char* delay;
    const char* output;
  } cases[] = {{"DELAY-57ms.aac", "57", "DELAY-0ms.aac"},
               {"T1 DELAY +12ms.aac", "12", "T1 DELAY 0ms.aac"},
               {"Delay 5ms.aac", "5", "Delay 0ms.aac"},
               {"day1 delay 120ms.aac", "0", "day10ms.aac"},
               {"DELAY 5m", "5", "DELAY 0ms"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    dir.write(c.input, adts_stream(10));
    const ProcessResult r = run(Program::add2, {"-x", c.input});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.out.substr(0, kBanner2.size() + x_lines(c.delay, c.output).size()),
              kBanner2 + x_lines(c.delay, c.output));
    EXPECT_TRUE(file_exists(dir.file(c.output)));
  }
  dir.write("movie.aac", adts_stream(10));
  EXPECT_RUN(run(Program::add2, {"-x", "movie.aac"}), kBanner2,
             error_line("-xオプションが指定されましたが、ファイル名に\"-**ms\"が見つかりません。\n"), 1);
}

TEST_F(Add2Cli, AdjustedDelayShift) {
  dir.write("in.aac", adts_stream(100));
  const std::string report = stereo_report("in.aac", 38400, 100, "00:00:02", "144.0");
  struct {
    Program program;
    const char* delay;
    const char* trim;
    std::string ranges;
    std::size_t first, end;
  } cases[] = {
      {Program::add2, "1000", "", "Trim(0,50)", 0, 51},     // 46 frames, shifted by 49
      {Program::add2, "-1000", "", "Trim(49,99)", 49, 100},
      {Program::add3, "1000", "", "Trim(0,53)", 0, 54},     // shifted by 46
      {Program::add2, "278", "Trim(20,59)", "Trim(6,45)", 6, 46},  // 13 frames, shifted by 14
      {Program::add3, "278", "Trim(20,59)", "Trim(7,46)", 7, 47},
  };
  const std::string frames = adts_stream(100);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.delay) + " " + c.trim);
    std::vector<std::string> args = {"-d", c.delay, "-o", "out.aac", "in.aac"};
    if (*c.trim) args.insert(args.end(), {"-a", "-t", c.trim});
    const std::size_t n = c.end - c.first;
    EXPECT_RUN(run(c.program, args),
               (c.program == Program::add2 ? kBanner2 : kBanner3) + report + output_lines(c.ranges, n * 384, n),
               "", 0);
    EXPECT_EQ(read_file(dir.file("out.aac")), frames.substr(c.first * 384, n * 384));
  }
}

}  // namespace
}  // namespace sarnik::test
