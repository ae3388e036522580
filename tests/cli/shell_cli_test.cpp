// Runs started from a shell the way users and scripts start them: cut
// lists from pipes and FIFOs, inputs from pipes, closed or redirected
// standard streams, an output that another run holds, a terminal.
#include <unistd.h>

#include "cli/cli.hpp"

namespace sarnik::test {
namespace {

// Runs command with sh -c in dir, where "$0" is the program under test.
ProcessResult run_shell(const TempDir& dir, const std::string& command) {
  return run_process({"sh", "-c", command, program_path(Program::add3)}, dir.path());
}

class ShellCli : public ::testing::Test {
 protected:
  void SetUp() override {
    if (runs_under_runner()) GTEST_SKIP() << "POSIX shell features";
    input = adts_stream(100);
  }
  std::string report() const { return stereo_report("in.aac", 38400, 100, "00:00:02", "144.0"); }
  // Frames [first, end) of the input.
  std::string frames(std::size_t first, std::size_t end) const {
    return input.substr(first * 384, (end - first) * 384);
  }

  std::string input;
};

TEST_F(ShellCli, StreamsScriptsAndOutputs) {
  const std::string cut = frames(10, 20);
  const std::string cut_text = kBanner3 + report() + output_lines("Trim(10,19)", 3840, 10);
  const std::string whole_text = kBanner3 + report() + output_lines("Trim(0,99)", 38400, 100);
  struct {
    const char* what;
    const char* command;
    std::string out, err;
    int code;
    const char* file;        // a file to check afterwards
    std::string file_bytes;  // what it must hold ("keep" is out.aac's before the run)
  } cases[] = {
      {"a script from a pipe", "printf 'Trim(10,19)\\n' | \"$0\" -a -t /dev/stdin -o out.aac in.aac",
       cut_text, "", 0, "out.aac", cut},
      {"a script from a FIFO",
       // The writer is stopped should the program not read the FIFO.
       "mkfifo cut.fifo && { printf 'Trim(10,19)\\n' > cut.fifo & } && \"$0\" -a -t cut.fifo -o out.aac "
       "in.aac; s=$?; kill $! 2>/dev/null; exit $s",
       cut_text, "", 0, "out.aac", cut},
      {"a script larger than any cut list",
       "head -c 70000000 /dev/zero | \"$0\" -a -t /dev/stdin -o out.aac in.aac", kBanner3,
       error_line("AviSynth スクリプトファイルが大きすぎます。"), 1, "out.aac", "keep"},
      {"a script that is a folder", "mkdir cut.d && \"$0\" -a -t cut.d -o out.aac in.aac", kBanner3,
       error_line("AviSynth スクリプトファイルの読み込みに失敗しました。"), 1, "out.aac", "keep"},
      {"an output that another run holds", "flock out.aac \"$0\" -o out.aac in.aac", kBanner3,
       error_line("出力ファイルオープンに失敗しました。"), 1, "out.aac", "keep"},
      {"standard input and output closed", "\"$0\" -o out.aac in.aac <&- >&-", "", "", 0, "out.aac",
       input},
      {"standard error closed, and an error", "\"$0\" -o out.aac missing.aac 2>&-", kBanner3, "", 1,
       "out.aac", ""},
      {"an output that is the standard output", "\"$0\" -o /dev/stdout in.aac > result.aac", "",
       error_line("出力ファイルが標準出力と同じです。"), 1, "result.aac", kBanner3},
      {"an output that is the standard error", "\"$0\" -o /dev/stderr in.aac 2> result.aac", kBanner3,
       "", 1, "result.aac", error_line("出力ファイルが標準エラー出力と同じです。")},
      {"the null device as output and standard output", "\"$0\" -o /dev/null in.aac > /dev/null", "",
       "", 0, "out.aac", "keep"},
      {"an input from a pipe", "cat in.aac | \"$0\" /dev/stdin", kBanner3,
       error_line("AAC ファイルが通常のファイルではありません。"), 1, "out.aac", "keep"},
      {"an input from a pipe, with an output", "cat in.aac | \"$0\" -o out.aac /dev/stdin", kBanner3,
       error_line("AAC ファイルが通常のファイルではありません。"), 1, "out.aac", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    dir.write("in.aac", input);
    dir.write("out.aac", "keep");
    EXPECT_RUN(run_shell(dir, c.command), c.out, c.err, c.code);
    EXPECT_TRUE(read_file(dir.file(c.file)) == c.file_bytes) << c.file;
  }
}

// On a terminal each line is shown as it is written: a run killed while it
// waits for its cut list has shown its banner.
TEST_F(ShellCli, TerminalSeesLinesAsTheyAreWritten) {
  if (access("/usr/bin/script", X_OK) != 0) GTEST_SKIP() << "no script(1) to give a terminal";
  TempDir dir;
  dir.write("in.aac", input);
  // The writer's open of the FIFO returns once the program has opened it
  // for reading, after the banner.
  dir.write("run.sh", "'" + program_path(Program::add3) +
                          "' -t cut.fifo -o out.aac in.aac & exec 3> cut.fifo; kill -9 $!; wait\n");
  const ProcessResult r =
      run_process({"sh", "-c", "mkfifo cut.fifo && script -qec 'sh run.sh' /dev/null"}, dir.path());
  EXPECT_NE(r.out.find("Sarnik version 0.1 alpha 3 add 3\r\n"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace sarnik::test
