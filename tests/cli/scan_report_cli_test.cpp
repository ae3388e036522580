// The scanner's warnings, the information report and the not-editable stop,
// on files built bit by bit.
#include <filesystem>

#include "cli/cli.hpp"

namespace sarnik::test {
namespace {

class ScanReportCli : public ::testing::Test {
 protected:
  ProcessResult run(const std::vector<std::string>& args) { return run_sarnik(args, dir.path()); }
  TempDir dir;
  const std::string not_editable = sjis("編集非対応ファイルです。\n");
};

TEST_F(ScanReportCli, CleanStreamReport) {
  dir.write("in.aac", adts_stream(1000));  // 384000 bytes
  EXPECT_RUN(run({"in.aac"}), kBanner3 + stereo_report("in.aac", 384000, 1000, "00:00:21", "144.0"), "", 0);
  dir.write("in5.aac", adts_stream(1000) + std::string(5, 'z'));
  EXPECT_RUN(run({"in5.aac"}), kBanner3 + stereo_report("in5.aac", 384005, 1000, "00:00:21", "144.2"), "",
             0);
}

TEST_F(ScanReportCli, GapMakesTheRunStop) {
  dir.write("gap.aac", adts_stream(5) + std::string(100, 'x') + adts_stream(5, {}, 9));
  dir.write("ok.aac", adts_stream(10));
  dir.write("out.aac", "old contents");
  const ProcessResult r = run({"-o", "out.aac", "gap.aac", "ok.aac"});
  EXPECT_RUN(r,
             kBanner3 + sjis("5 フレーム目のヘッダー情報が正しくありません。\n") +
                 sjis("gap.aac はフレームドロップしている可能性があります。\n") +
                 stereo_report("gap.aac", 3940, 10, "00:00:00", "147.750") +
                 stereo_report("ok.aac", 3840, 10, "00:00:00", "144.0") + not_editable,
             "", 0);
  // The output was created (truncated) before the stop and stays empty.
  EXPECT_EQ(read_file(dir.file("out.aac")), "");
}

// A clean first input may already be on its way into the output when a later
// one turns out not to be editable: the output is still left empty.
TEST_F(ScanReportCli, LaterInputThatStopsTheRunLeavesTheOutputEmpty) {
  dir.write("big.aac", adts_stream(20000));
  dir.write("gap.aac", adts_stream(5) + std::string(100, 'x') + adts_stream(5, {}, 9));
  dir.write("out.aac", "old contents");
  const ProcessResult r = run({"-o", "out.aac", "big.aac", "gap.aac"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_TRUE(r.out.ends_with(not_editable));
  EXPECT_EQ(read_file(dir.file("out.aac")), "");

  dir.write("text.aac", std::string(2000, 'a'));
  EXPECT_RUN(run({"-o", "out.aac", "big.aac", "text.aac"}),
             kBanner3 + stereo_report("big.aac", 7680000, 20000, "00:07:06", "144.0"),
             error_line("AAC ADTS ファイルではありません。"), 1);
  EXPECT_EQ(read_file(dir.file("out.aac")), "");
}

TEST_F(ScanReportCli, SegmentsAndNonLcProfiles) {
  FrameSpec surround;
  surround.channels = 6;
  FrameSpec ssr;
  ssr.profile = 2;
  dir.write("mixed.aac", adts_stream(3000) + adts_stream(10, surround));
  dir.write("ssr.aac", adts_stream(10, ssr));
  const ProcessResult r = run({"mixed.aac", "ssr.aac"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err, "");
  const std::string mixed = sjis(
      "mixed.aac の情報:\n  サイズ:       1155840 バイト\n  フレーム:     3010 フレーム\n"
      "  時間:         00:01:04\n  ビットレート: 144.0 kbps\n  バージョン:   MPEG-4 AAC\n"
      "  プロファイル: LC (Low Complexity)\n  サンプリング周波数: 48000 Hz\n  チャンネル:   2 ch\n"
      "3000フレーム以降:\n  チャンネル:   5.1 ch\n\n");
  const std::string ssr_report = sjis(
      "ssr.aac の情報:\n  サイズ:       3840 バイト\n  フレーム:     10 フレーム\n"
      "  時間:         00:00:00\n  ビットレート: 144.0 kbps\n  バージョン:   MPEG-4 AAC\n"
      "  プロファイル: SSR (Scalable Sampling Rate)\n  サンプリング周波数: 48000 Hz\n"
      "  チャンネル:   2 ch\n\n");
  EXPECT_EQ(r.out, kBanner3 + mixed + ssr_report + not_editable);
}

TEST_F(ScanReportCli, ReservedSamplingIndexReportsZero) {
  FrameSpec reserved;
  reserved.sf_index = 13;
  dir.write("r.aac", adts_stream(10, reserved));
  const ProcessResult r = run({"r.aac"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find(sjis("  時間:         00:00:00\n  ビットレート: 0.0 kbps\n")), std::string::npos);
  EXPECT_NE(r.out.find(sjis("  サンプリング周波数: 0 Hz\n")), std::string::npos);
  EXPECT_NE(r.out.find(not_editable), std::string::npos);
}

TEST_F(ScanReportCli, NotAdts) {
  const std::string not_adts = error_line("AAC ADTS ファイルではありません。");
  dir.write("empty.aac", "");
  dir.write("text.aac", std::string(2000, 'a'));
  dir.write("tail.aac", adts_stream(3) + std::string(20, 'x'));
  EXPECT_RUN(run({"empty.aac"}), kBanner3, not_adts, 1);
  EXPECT_RUN(run({"text.aac"}), kBanner3, not_adts, 1);
  EXPECT_RUN(run({"tail.aac"}), kBanner3 + sjis("3 フレーム目のヘッダー情報が正しくありません。\n"),
             not_adts, 1);
}

TEST_F(ScanReportCli, UnreadableInputs) {
  const std::string read_failed = error_line("AAC ファイルの読み込みに失敗しました。");
  std::filesystem::create_directory(dir.file("folder.aac"));
  EXPECT_RUN(run({"missing.aac"}), kBanner3, read_failed, 1);
  EXPECT_RUN(run({"folder.aac"}), kBanner3, read_failed, 1);
}

}  // namespace
}  // namespace sarnik::test

namespace sarnik::test {
namespace {

TEST(FaultCli, UnreadableScriptLeavesEverythingAsItWas) {
  TempDir dir;
  dir.write("in.aac", adts_stream(20));
  // A directory opens, but cannot be read as a script.
  std::filesystem::create_directory(dir.file("cut.avs"));
  const ProcessResult r = run_sarnik({"-t", "cut.avs", "-o", "out.aac", "in.aac"}, dir.path());
  EXPECT_EQ(r.err, error_line("AviSynth スクリプトファイルの読み込みに失敗しました。"));
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(read_file(dir.file("in.aac")), adts_stream(20));
  // Where the directory cannot even be opened (Windows) the output is never
  // created; elsewhere it is created before the read fails, and left empty.
  if (std::filesystem::exists(dir.file("out.aac"))) {
    EXPECT_EQ(read_file(dir.file("out.aac")), "");
  }
}

}  // namespace
}  // namespace sarnik::test
