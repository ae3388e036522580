// The add 2 revision on the built programs: its banner, its -x
// rule built on the first 'y' and the first 'm' of the first input's name,
// and its delay shift of 108/100 of the delay in frames, each compared with
// the add 3 program where the two differ. Every case compares the whole
// standard output and error, the exit code and the output file's bytes.
#include <filesystem>

#include "cli/cli.hpp"

namespace sarnik::test {
namespace {

constexpr std::size_t kFrameBytes = 384;  // every frame of adts_stream

class Add2Cli : public ::testing::Test {
 protected:
  ProcessResult run(Program p, const std::vector<std::string>& args) {
    return run_sarnik(p, args, dir.path());
  }
  ProcessResult run_in(const TempDir& d, Program p, const std::vector<std::string>& args) {
    return run_sarnik(p, args, d.path());
  }
  static const std::string& banner(Program p) { return p == Program::add2 ? kBanner2 : kBanner3; }
  // The three lines that -x prints.
  static std::string x_lines(const std::string& delay, const std::string& output) {
    return sjis("-xオプションにより、以下のオプションを自動的に追加\n    -d " + delay + "\n    -o \"" +
                output + "\"\n");
  }
  // The report of an input of count frames of adts_stream.
  static std::string report(const std::string& name, std::uint32_t count) {
    const std::uint32_t size = count * kFrameBytes;
    if (count == 100) return stereo_report(name, size, count, "00:00:02", "144.0");
    if (count == 400) return stereo_report(name, size, count, "00:00:08", "144.0");
    ADD_FAILURE() << "no report for " << count << " frames";
    return {};
  }
  // The output lines and the bytes of frames [first, end) of frames.
  static std::string output_of(std::size_t first, std::size_t end) {
    return output_lines("Trim(" + std::to_string(first) + "," + std::to_string(end - 1) + ")",
                        (end - first) * kFrameBytes, end - first);
  }
  // The bytes of a file, or a note that there is none.
  static std::string contents(const std::string& path) {
    return file_exists(path) ? read_file(path) : "(no file " + path + ")";
  }
  std::string frames_of(std::size_t first, std::size_t end) const {
    return frames.substr(first * kFrameBytes, (end - first) * kFrameBytes);
  }

  TempDir dir;
  const std::string frames = adts_stream(100);
  const std::string not_found =
      error_line("-xオプションが指定されましたが、ファイル名に\"-**ms\"が見つかりません。\n");
};

TEST_F(Add2Cli, Banner) {
  dir.write("in.aac", frames);
  EXPECT_RUN(run(Program::add2, {"in.aac"}), kBanner2 + report("in.aac", 100), "", 0);
  EXPECT_RUN(run(Program::add3, {"in.aac"}), kBanner3 + report("in.aac", 100), "", 0);
}

// Names of the usual forms and the corner cases of the rule; each input holds
// 100 frames, and the derived delay shifts the fallback range of -x.
TEST_F(Add2Cli, DeriveFromName) {
  struct {
    const char* input;
    const char* delay;
    const char* output;
    std::size_t first, end;  // the fallback range
  } cases[] = {
      // The sign right after the 'Y' is skipped: 57, not -57 (2 frames).
      {"DELAY-57ms.aac", "57", "DELAY-0ms.aac", 0, 98},
      {"T1 DELAY -57ms.aac", "-57", "T1 DELAY 0ms.aac", 2, 100},
      {"T1 DELAY +12ms.aac", "12", "T1 DELAY 0ms.aac", 0, 100},
      // Lower-case 'y' and 'm' match as well.
      {"Delay 5ms.aac", "5", "Delay 0ms.aac", 0, 100},
      // A blank after the number is ignored by the conversion.
      {"xDELAY 5 ms.aac", "5", "xDELAY 0ms.aac", 0, 100},
      // No zero-delay stop: a delay of 0 is set and the run goes on.
      {"DELAY -0ms.aac", "0", "DELAY 0ms.aac", 0, 100},
      // The first 'y' is that of "day1": the delay text " delay 120" gives 0.
      {"day1 delay 120ms.aac", "0", "day10ms.aac", 0, 100},
      // 46 frames, shifted by 49.
      {"DELAY -1000ms.aac", "-1000", "DELAY 0ms.aac", 49, 100},
      {"DELAY 1000ms.aac", "1000", "DELAY 0ms.aac", 0, 51},
      // The delay text holds 14 characters; the rest of a longer one is cut.
      {"DELAY 00000000000012345ms.aac", "12", "DELAY 0ms.aac", 0, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    // A directory of its own: on Windows "Delay 0ms.aac" and "DELAY 0ms.aac"
    // name the same file.
    const TempDir own;
    own.write(c.input, frames);
    EXPECT_RUN(run_in(own, Program::add2, {"-x", c.input}),
               kBanner2 + x_lines(c.delay, c.output) + report(c.input, 100) + output_of(c.first, c.end), "",
               0);
    EXPECT_EQ(contents(own.file(c.output)), frames_of(c.first, c.end));
  }
}

// -x replaces -o and -d given on the command line, in either order.
TEST_F(Add2Cli, DerivationReplacesOutputAndDelay) {
  dir.write("DELAY-57ms.aac", frames);
  EXPECT_RUN(run(Program::add2, {"-o", "other.aac", "-x", "-d", "-1000", "DELAY-57ms.aac"}),
             kBanner2 + x_lines("57", "DELAY-0ms.aac") + report("DELAY-57ms.aac", 100) + output_of(0, 98), "",
             0);
  EXPECT_EQ(contents(dir.file("DELAY-0ms.aac")), frames_of(0, 98));
  EXPECT_FALSE(file_exists(dir.file("other.aac")));
}

// The same names under the add 3 rule, where the two differ.
TEST_F(Add2Cli, Add3RuleOnTheSameNames) {
  dir.write("DELAY-57ms.aac", frames);
  EXPECT_RUN(run(Program::add3, {"-x", "DELAY-57ms.aac"}),
             kBanner3 + x_lines("-57", "DELAY0ms.aac") + report("DELAY-57ms.aac", 100) + output_of(2, 100), "",
             0);
  EXPECT_EQ(contents(dir.file("DELAY0ms.aac")), frames_of(2, 100));

  dir.write("DELAY -0ms.aac", frames);
  EXPECT_RUN(run(Program::add3, {"-x", "DELAY -0ms.aac"}), kBanner3,
             error_line("入力ファイル上書き防止の為中止します\n"), 1);
  EXPECT_FALSE(file_exists(dir.file("DELAY 0ms.aac")));

  std::filesystem::create_directory(dir.file("Music"));
  dir.write("Music/T1 DELAY -57ms.aac", frames);
  EXPECT_RUN(run(Program::add3, {"-x", "Music/T1 DELAY -57ms.aac"}),
             kBanner3 + x_lines("-57", "Music/T1 DELAY 0ms.aac") + report("Music/T1 DELAY -57ms.aac", 100) +
                 output_of(2, 100),
             "", 0);
  EXPECT_EQ(contents(dir.file("Music/T1 DELAY 0ms.aac")), frames_of(2, 100));
}

// The directory part counts: the first 'm' is the 'M' of "Music", before the
// 'Y', so the delay text is empty and the rest of the name starts at "sic".
TEST_F(Add2Cli, FirstMBeforeTheY) {
  const std::string input = "Music/T1 DELAY -57ms.aac";
  const std::string derived = "Music/T1 DELAY 0mssic/T1 DELAY -57ms.aac";
  std::filesystem::create_directory(dir.file("Music"));
  dir.write(input, frames);
  // The derived name lies in a directory that does not exist.
  EXPECT_RUN(run(Program::add2, {"-x", input}), kBanner2 + x_lines("0", derived),
             error_line("出力ファイルオープンに失敗しました。"), 1);
  std::filesystem::create_directory(dir.file("Music/T1 DELAY 0mssic"));
  EXPECT_RUN(run(Program::add2, {"-x", input}),
             kBanner2 + x_lines("0", derived) + report(input, 100) + output_of(0, 100), "", 0);
  EXPECT_EQ(contents(dir.file(derived)), frames);
}

// No 'y' or 'Y' anywhere in the name: the not-found stop, before anything of
// the derivation is printed or created.
TEST_F(Add2Cli, NoYInTheName) {
  for (const char* name : {"movie.aac", "MOVIE 5ms.aac", "Music/movie -57ms.aac"}) {
    SCOPED_TRACE(name);
    std::filesystem::create_directories(dir.file("Music"));
    dir.write(name, frames);
    EXPECT_RUN(run(Program::add2, {"-x", "-o", "out.aac", name}), kBanner2, not_found, 1);
    EXPECT_FALSE(file_exists(dir.file("out.aac")));
  }
  // Only the first input's name counts.
  dir.write("DELAY 5ms.aac", frames);
  EXPECT_RUN(run(Program::add2, {"-x", "movie.aac", "DELAY 5ms.aac"}), kBanner2, not_found, 1);
}

// Names that end before the character after the 'm' (or after the 'y')
// would have the rest of the name start beyond its end: the derivation takes
// what the name holds and nothing past it.
TEST_F(Add2Cli, NameEndsNearTheYOrTheM) {
  struct {
    const char* input;
    const char* delay;
    const char* output;
  } cases[] = {
      {"DELAY 5m", "5", "DELAY 0ms"},        // the first 'm' is the last character
      {"DELAY 7.aac", "7", "DELAY 0ms"},     // no 'm': the delay text runs to the end
      {"DELAY 9", "9", "DELAY 0ms"},         // no 'm', and nothing after the number
      {"DAY1", "0", "DAY10ms"},              // one character after the 'Y', none for the text
      {"DAY", "0", "DAY0ms"},                // the 'Y' is the last character
      {"MAY", "0", "MAY0msY"},               // the 'm' before the 'y': the rest starts at the 'Y'
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    const TempDir own;
    own.write(c.input, frames);
    EXPECT_RUN(run_in(own, Program::add2, {"-x", c.input}),
               kBanner2 + x_lines(c.delay, c.output) + report(c.input, 100) + output_of(0, 100), "", 0);
    EXPECT_EQ(contents(own.file(c.output)), frames);
  }
}

// The fallback range (-o without -t) on 100 frames: add 2 shifts by 108/100
// of the delay in frames, add 3 by the delay in frames.
TEST_F(Add2Cli, FallbackRangeShift) {
  dir.write("in.aac", frames);
  struct {
    Program program;
    const char* delay;
    std::size_t first, end;
  } cases[] = {
      {Program::add2, "1000", 0, 51},    // 46 frames, shifted by 49
      {Program::add3, "1000", 0, 54},    // shifted by 46
      {Program::add2, "-1000", 49, 100},
      {Program::add3, "-1000", 46, 100},
      {Program::add2, "277", 0, 88},     // 12 frames, shifted by 12
      {Program::add3, "277", 0, 88},
      {Program::add2, "278", 0, 86},     // 13 frames, shifted by 14
      {Program::add3, "278", 0, 87},
      {Program::add2, "-278", 14, 100},
      {Program::add3, "-278", 13, 100},
      {Program::add2, "21", 0, 100},     // 0 frames in both builds
      {Program::add3, "21", 0, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.program == Program::add2 ? "add 2, " : "add 3, ") + c.delay);
    EXPECT_RUN(run(c.program, {"-d", c.delay, "-o", "out.aac", "in.aac"}),
               banner(c.program) + report("in.aac", 100) + output_of(c.first, c.end), "", 0);
    EXPECT_EQ(contents(dir.file("out.aac")), frames_of(c.first, c.end));
  }
}

// Trim ranges from -t are shifted by the adjusted delay in frames as well,
// with the frame mapping the same in both builds.
TEST_F(Add2Cli, TrimRangeShift) {
  const std::string long_frames = adts_stream(400);
  dir.write("in.aac", long_frames);
  struct {
    Program program;
    const char* delay;
    std::vector<std::string> trim;
    std::size_t first, end;
  } cases[] = {
      // AAC frames given directly: 13 frames, shifted by 14 (add 2) or 13.
      {Program::add2, "278", {"-a", "-t", "Trim(20,59)"}, 6, 46},
      {Program::add3, "278", {"-a", "-t", "Trim(20,59)"}, 7, 47},
      // Video frames 100 to 199 at 29.97 map to AAC frames 156 to 312 (the
      // remainder of 1000 ms modulo 125 is 0: no sub-frame correction).
      {Program::add2, "1000", {"-t", "Trim(100,199)"}, 107, 263},
      {Program::add3, "1000", {"-t", "Trim(100,199)"}, 110, 266},
      {Program::add2, "0", {"-t", "Trim(100,199)"}, 156, 312},
      // To the end of the stream: the delay moves the start only.
      {Program::add2, "-1000", {"-t", "Trim(0,0)"}, 49, 400},
      {Program::add3, "-1000", {"-t", "Trim(0,0)"}, 46, 400},
      // A start shifted below 0 is clamped to 0.
      {Program::add2, "1000", {"-a", "-t", "Trim(30,99)"}, 0, 51},
      {Program::add3, "1000", {"-a", "-t", "Trim(30,99)"}, 0, 54},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.program == Program::add2 ? "add 2, " : "add 3, ") + c.delay + " " +
                 c.trim.back());
    std::vector<std::string> args = {"-d", c.delay, "-o", "out.aac", "in.aac"};
    args.insert(args.end(), c.trim.begin(), c.trim.end());
    EXPECT_RUN(run(c.program, args), banner(c.program) + report("in.aac", 400) + output_of(c.first, c.end),
               "", 0);
    EXPECT_EQ(contents(dir.file("out.aac")), long_frames.substr(c.first * kFrameBytes,
                                                                 (c.end - c.first) * kFrameBytes));
  }
}

}  // namespace
}  // namespace sarnik::test
