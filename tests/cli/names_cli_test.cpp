// File names in every spelling users meet, and the console text a terminal
// shows. Names are opened whole (on Windows as wide names); what a captured
// run holds is CP932 throughout, '?' for each character that CP932 does
// not hold.
#include <stdlib.h>

#include <filesystem>

#include "cli/cli.hpp"

namespace sarnik::test {
namespace {

constexpr std::size_t kFrameBytes = 384;  // every frame of adts_stream

// A UTF-8 locale for the program on POSIX (Wine is started under its own).
class NamesCli : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!runs_under_runner()) setenv("LC_ALL", "C.UTF-8", 1);
  }
  void TearDown() override {
    if (!runs_under_runner()) unsetenv("LC_ALL");
  }
};

TEST_F(NamesCli, NamesOpenCutAndDeriveInBothRevisions) {
  struct {
    const char* name;        // the first input, with a -57 ms tag
    const char* shown;       // as the captured CP932 text shows it
    const char* derived;     // the -x output name
    const char* derived_shown;
  } cases[] = {
      {"番組〜 DELAY -57ms.aac", "番組? DELAY -57ms.aac", "番組〜 DELAY 0ms.aac", "番組? DELAY 0ms.aac"},
      {"番組～ DELAY -57ms.aac", "番組～ DELAY -57ms.aac", "番組～ DELAY 0ms.aac", "番組～ DELAY 0ms.aac"},
      {"♬ DELAY -57ms.aac", "? DELAY -57ms.aac", "♬ DELAY 0ms.aac", "? DELAY 0ms.aac"},
      {"𠮷野家 DELAY -57ms.aac", "?野家 DELAY -57ms.aac", "𠮷野家 DELAY 0ms.aac", "?野家 DELAY 0ms.aac"},
      // CP932 trail byte 0x5C, a backslash in ASCII.
      {"ソ表 DELAY -57ms.aac", "ソ表 DELAY -57ms.aac", "ソ表 DELAY 0ms.aac", "ソ表 DELAY 0ms.aac"},
      {"録画/番組 DELAY -57ms.aac", "録画/番組 DELAY -57ms.aac", "録画/番組 DELAY 0ms.aac",
       "録画/番組 DELAY 0ms.aac"},
      // Beside a file whose name differs only in the accent, which no
      // conversion may choose instead (it holds fewer frames).
      {"ポケモン é DELAY -57ms.aac", "ポケモン ? DELAY -57ms.aac", "ポケモン é DELAY 0ms.aac",
       "ポケモン ? DELAY 0ms.aac"},
  };
  const std::string frames = adts_stream(100);
  for (const Program program : {Program::add3, Program::add2}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      const TempDir dir;
      std::filesystem::create_directories(dir.file("録画"));
      dir.write(c.name, frames);
      dir.write("ポケモン e DELAY -57ms.aac", adts_stream(50));
      const std::string banner = program == Program::add2 ? kBanner2 : kBanner3;
      // -57 ms is 2 frames in both revisions: frames 2 to 99 are kept.
      EXPECT_RUN(run_sarnik(program, {"-x", c.name}, dir.path()),
                 banner + sjis("-xオプションにより、以下のオプションを自動的に追加\n    -d -57\n    -o \"" +
                               std::string(c.derived_shown) + "\"\n") +
                     stereo_report(c.shown, 38400, 100, "00:00:02", "144.0") +
                     output_lines("Trim(2,99)", 98 * kFrameBytes, 98),
                 "", 0);
      ASSERT_TRUE(file_exists(dir.file(c.derived)));
      EXPECT_EQ(read_file(dir.file(c.derived)), frames.substr(2 * kFrameBytes));
      EXPECT_FALSE(file_exists(dir.file("ポケモン e DELAY 0ms.aac")));
    }
  }
}

// A name that is not UTF-8 is written as it is.
TEST_F(NamesCli, OtherNamesAsTheyAre) {
  if (runs_under_runner()) GTEST_SKIP() << "Windows names are always wide";
  const TempDir dir;
  const std::string name = sjis("ニュース.aac");
  dir.write(name, adts_stream(100));
  EXPECT_RUN(run_sarnik({name}, dir.path()), kBanner3 + stereo_report("ニュース.aac", 38400, 100,
                                                                      "00:00:02", "144.0"),
             "", 0);
}

// On a terminal under a UTF-8 locale the texts read in UTF-8, both streams;
// the same run captured holds the CP932 bytes.
TEST_F(NamesCli, TerminalReadsUtf8) {
  if (runs_under_runner() || access("/usr/bin/script", X_OK) != 0) GTEST_SKIP() << "needs script(1)";
  const TempDir dir;
  dir.write("ニュース.aac", adts_stream(100));
  const std::string command = "'" + program_path(Program::add3) + "' ニュース.aac missing.aac";
  const std::string report =
      "ニュース.aac の情報:\n  サイズ:       38400 バイト\n  フレーム:     100 フレーム\n"
      "  時間:         00:00:02\n  ビットレート: 144.0 kbps\n  バージョン:   MPEG-4 AAC\n"
      "  プロファイル: LC (Low Complexity)\n  サンプリング周波数: 48000 Hz\n  チャンネル:   2 ch\n\n";
  const std::string error = "エラー: AAC ファイルの読み込みに失敗しました。\n";

  ProcessResult terminal = run_process({"script", "-qec", command, "/dev/null"}, dir.path());
  std::erase(terminal.out, '\r');  // the terminal's line ends
  EXPECT_EQ(terminal.out, kBanner3 + report + error);
  EXPECT_EQ(terminal.exit_code, 1);

  EXPECT_RUN(run_process({"sh", "-c", command}, dir.path()), kBanner3 + sjis(report), sjis(error), 1);
}

}  // namespace
}  // namespace sarnik::test
