// Banner, usage, options, -x and the error exit, on the built program.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "cli/cli.hpp"

namespace sarnik::test {
namespace {

class DriverCli : public ::testing::Test {
 protected:
  ProcessResult run(const std::vector<std::string>& args) { return run_sarnik(args, dir.path()); }
  ProcessResult run2(const std::vector<std::string>& args) {
    return run_sarnik(Program::add2, args, dir.path());
  }
  // 100 frames of 384 bytes.
  std::string input(const std::string& name) { return dir.write(name, adts_stream(100)), name; }

  TempDir dir;
  const std::string report_100 = stereo_report("in.aac", 38400, 100, "00:00:02", "144.0");
};

TEST_F(DriverCli, NoArgumentShowsUsage) {
  EXPECT_RUN(run({}), kBanner3 + usage_text(), "", 0);
  EXPECT_RUN(run2({}), kBanner2 + usage_text(), "", 0);
}

TEST_F(DriverCli, HelpOptions) {
  for (const char* help : {"-h", "-?", "-H", "-help"}) {
    EXPECT_RUN(run({"-d", "5", help, "-q"}), kBanner3 + usage_text(), "", 0);
  }
  // An invalid option before -h ends the walk.
  EXPECT_RUN(run({"-q", "-h"}), kBanner3 + usage_text(),
             error_line("オプションが正しくありません。"), 1);
}

TEST_F(DriverCli, InvalidCommandLines) {
  const std::vector<std::vector<std::string>> invalid = {
      {"-o", "out.aac"},            {"in.aac", "-d", "12345678"}, {"in.aac", "-d", "+1234567"},
      {"in.aac", "-d", "1.5"},      {"in.aac", "-f", "30"},       {"in.aac", "-o", "a", "-o", "b"},
      {"in.aac", "-t", "a", "-t", "b"}, {"in.aac", "-"},          {"in.aac", "-o"},
  };
  for (const auto& args : invalid) {
    SCOPED_TRACE(args.back());
    EXPECT_RUN(run(args), kBanner3 + usage_text(), error_line("オプションが正しくありません。"), 1);
  }
}

TEST_F(DriverCli, SeventeenInputs) {
  input("in.aac");
  std::vector<std::string> sixteen(16, "in.aac");
  const ProcessResult ok = run(sixteen);
  EXPECT_EQ(ok.exit_code, 0);
  EXPECT_EQ(ok.err, "");
  std::string reports;
  for (int i = 0; i < 16; ++i) reports += report_100;
  EXPECT_EQ(ok.out, kBanner3 + reports);

  std::vector<std::string> seventeen(17, "in.aac");
  EXPECT_RUN(run(seventeen), kBanner3 + usage_text(),
             error_line("入力ファイルは最大 16 ファイルまでです。"), 1);
}

TEST_F(DriverCli, ReportOnlyWithoutOutput) {
  input("in.aac");
  // Without -o the -t argument is not looked at, even when no such file exists.
  EXPECT_RUN(run({"-t", "missing.avs", "in.aac"}), kBanner3 + report_100, "", 0);
}

TEST_F(DriverCli, DeriveFromName) {
  input("in -40ms.aac");
  const std::string derived_lines = sjis(
      "-xオプションにより、以下のオプションを自動的に追加\n    -d -40\n    -o \"in 0ms.aac\"\n");
  const ProcessResult r = run({"-x", "-o", "other.aac", "-d", "7", "in -40ms.aac"});
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out.substr(0, kBanner3.size() + derived_lines.size()), kBanner3 + derived_lines);
  EXPECT_TRUE(file_exists(dir.file("in 0ms.aac")));
  EXPECT_FALSE(file_exists(dir.file("other.aac")));
}

TEST_F(DriverCli, DeriveRefusals) {
  input("movie.aac");
  input("x -ms.aac");
  input("x 99999999999ms.aac");
  EXPECT_RUN(run({"-x", "movie.aac"}), kBanner3,
             error_line("-xオプションが指定されましたが、ファイル名に\"-**ms\"が見つかりません。\n"),
             1);
  EXPECT_RUN(run({"-x", "x -ms.aac"}), kBanner3, error_line("入力ファイル上書き防止の為中止します\n"), 1);
  EXPECT_RUN(run({"-x", "x 99999999999ms.aac"}), kBanner3,
             error_line("ファイル名の遅延時間が大きすぎます。"), 1);
  // The directory part counts: 200 + 1 + 60 + 9 bytes, 268 once derived.
  const std::string long_dir(200, 'd');
  std::filesystem::create_directory(dir.file(long_dir));
  const std::string long_name = long_dir + "/" + std::string(60, 'n') + " -5ms.aac";
  input(long_name);
  EXPECT_RUN(run({"-x", long_name}), kBanner3, error_line("出力ファイル名が長すぎます。"), 1);
}

TEST_F(DriverCli, OutputOverAnInputIsRefused) {
  input("in.aac");
  const std::string before = read_file(dir.file("in.aac"));
  EXPECT_RUN(run({"-o", "in.aac", "in.aac"}), kBanner3,
             error_line("出力ファイルが入力ファイルと同じです。"), 1);
  EXPECT_RUN(run({"-o", "./in.aac", "other.aac", "in.aac"}), kBanner3,
             error_line("出力ファイルが入力ファイルと同じです。"), 1);
  EXPECT_EQ(read_file(dir.file("in.aac")), before);

  dir.write("cut.avs", "Trim(0,9)\n");
  EXPECT_RUN(run({"-t", "cut.avs", "-o", "cut.avs", "in.aac"}), kBanner3,
             error_line("出力ファイルが AviSynth スクリプトファイルと同じです。"), 1);
  EXPECT_EQ(read_file(dir.file("cut.avs")), "Trim(0,9)\n");
}

TEST_F(DriverCli, Add2DerivationOverItsInputIsRefused) {
  // "DELAY 0ms.aac" derives its own name: delay 0, output = the input.
  input("DELAY 0ms.aac");
  const std::string before = read_file(dir.file("DELAY 0ms.aac"));
  EXPECT_RUN(run2({"-x", "DELAY 0ms.aac"}),
             kBanner2 + sjis("-xオプションにより、以下のオプションを自動的に追加\n    -d 0\n    -o \"DELAY 0ms.aac\"\n"),
             error_line("出力ファイルが入力ファイルと同じです。"), 1);
  EXPECT_EQ(read_file(dir.file("DELAY 0ms.aac")), before);
}

TEST_F(DriverCli, OutputCannotBeCreated) {
  input("in.aac");
  EXPECT_RUN(run({"-o", "no/such/dir/out.aac", "in.aac"}), kBanner3,
             error_line("出力ファイルオープンに失敗しました。"), 1);
}

TEST_F(DriverCli, MissingScriptStopsBeforeTheOutputIsCreated) {
  input("in.aac");
  EXPECT_RUN(run({"-t", "missing.avs", "-o", "out.aac", "in.aac"}), kBanner3,
             error_line("AviSynth スクリプトファイルの読み込みに失敗しました。"), 1);
  EXPECT_FALSE(file_exists(dir.file("out.aac")));
  // A mistyped inline text is taken as a file name.
  EXPECT_RUN(run({"-t", "Trim (0,9)", "-o", "out.aac", "in.aac"}), kBanner3,
             error_line("AviSynth スクリプトファイルの読み込みに失敗しました。"), 1);
}

TEST_F(DriverCli, ErrorAfterCreationLeavesTheOutput) {
  input("in.aac");
  EXPECT_RUN(run({"-o", "out.aac", "in.aac", "missing.aac"}), kBanner3 + report_100,
             error_line("AAC ファイルの読み込みに失敗しました。"), 1);
  EXPECT_TRUE(file_exists(dir.file("out.aac")));
  EXPECT_EQ(read_file(dir.file("out.aac")), "");
}

}  // namespace
}  // namespace sarnik::test

namespace sarnik::test {
namespace {

TEST(ConsoleCli, LostReportIsAnError) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "needs /dev/full";
  TempDir dir;
  dir.write("in.aac", adts_stream(10));
  std::vector<std::string> command = {"sh", "-c", "exec \"$@\" in.aac > /dev/full", "sh"};
  if (const char* runner = std::getenv("SARNIK_RUNNER"); runner != nullptr && *runner != '\0') {
    command.push_back(runner);
  }
  command.push_back(program_path(Program::add3));
  const ProcessResult r = run_process(command, dir.path());
  EXPECT_EQ(r.err, error_line("標準出力への書き込みに失敗しました。"));
  EXPECT_EQ(r.exit_code, 1);
}

}  // namespace
}  // namespace sarnik::test
