// Real AAC: ffmpeg encodes the inputs, the program reports, cuts and joins
// them, and ffmpeg decodes what it wrote.
#include <gtest/gtest.h>

#include "support/ffmpeg.hpp"
#include "support/files.hpp"
#include "support/process.hpp"
#include "support/sjis.hpp"

namespace sarnik::test {
namespace {

class RealAudio : public ::testing::Test {
 protected:
  // Encodes name once per test and returns its packet count.
  long encode(const std::string& name, double seconds, const std::string& layout) {
    encode_adts(dir.file(name), seconds, layout);
    const long packets = count_packets(dir.file(name));
    EXPECT_GT(packets, 0) << name;
    return packets;
  }
  ProcessResult run(const std::vector<std::string>& args) { return run_sarnik(args, dir.path()); }

  TempDir dir;
};

TEST_F(RealAudio, ReportsEachLayout) {
  struct {
    const char* layout;
    const char* channel_line;
  } cases[] = {{"mono", "  チャンネル:   1 ch\n"},
               {"stereo", "  チャンネル:   2 ch\n"},
               {"5.1", "  チャンネル:   5.1 ch\n"}};
  for (const auto& c : cases) {
    const std::string name = std::string(c.layout) + ".aac";
    const long packets = encode(name, 3, c.layout);
    const ProcessResult r = run({name});
    EXPECT_EQ(r.exit_code, 0) << c.layout;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find(sjis("  フレーム:     " + std::to_string(packets) + " フレーム\n")),
              std::string::npos)
        << c.layout;
    EXPECT_NE(r.out.find(sjis(c.channel_line)), std::string::npos) << c.layout;
    EXPECT_NE(r.out.find(sjis("  プロファイル: LC (Low Complexity)\n  サンプリング周波数: 48000 Hz\n")),
              std::string::npos);
    EXPECT_EQ(r.out.find(sjis("編集非対応")), std::string::npos);
  }
}

TEST_F(RealAudio, ConcatenatedLayoutsOpenSegments) {
  const long a = encode("a.aac", 2, "stereo");
  const long b = encode("b.aac", 2, "5.1");
  encode("c.aac", 2, "stereo");
  dir.write("joined.aac", read_file(dir.file("a.aac")) + read_file(dir.file("b.aac")) +
                              read_file(dir.file("c.aac")));
  const ProcessResult r = run({"joined.aac"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find(sjis(std::to_string(a) + "フレーム以降:\n  チャンネル:   5.1 ch\n" +
                            std::to_string(a + b) + "フレーム以降:\n  チャンネル:   2 ch\n")),
            std::string::npos)
      << r.out;
}

TEST_F(RealAudio, FullCopyIsTheInput) {
  const long packets = encode("in.aac", 5, "stereo");
  const ProcessResult r = run({"-o", "out.aac", "in.aac"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(read_file(dir.file("out.aac")), read_file(dir.file("in.aac")));
  EXPECT_NE(r.out.find("Trim(0," + std::to_string(packets - 1) + ")"), std::string::npos);
}

TEST_F(RealAudio, JoinWithDelayDecodesCleanly) {
  const long a = encode("a.aac", 4, "stereo");
  const long b = encode("b.aac", 3, "stereo");
  // 500 ms are 23 frames, dropped at the end of the joined stream.
  const ProcessResult r = run({"-o", "out.aac", "-d", "500", "a.aac", "b.aac"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_TRUE(decodes_cleanly(dir.file("out.aac")));
  EXPECT_EQ(count_packets(dir.file("out.aac")), a + b - 23);
  // -500 ms drops 23 frames at the start instead.
  ASSERT_EQ(run({"-o", "neg.aac", "-d", "-500", "a.aac", "b.aac"}).exit_code, 0);
  EXPECT_TRUE(decodes_cleanly(dir.file("neg.aac")));
  EXPECT_EQ(count_packets(dir.file("neg.aac")), a + b - 23);
}

TEST_F(RealAudio, ScriptCutDecodesCleanly) {
  const long packets = encode("in.aac", 20, "stereo");
  // Video frames 0-99, 200-299 and 400-449 at 29.97 fps: AAC frames
  // [0,156), [312,469) and [625,703).
  dir.write("cut.avs",
            "AVISource(\"in.avi\")\r\n# the edit\r\nTrim(0,99) ++ Trim(200,299)\r\n\\ + Trim(400,-50)\r\n"
            "Trim(0,9)\r\n");
  const ProcessResult r = run({"-t", "cut.avs", "-o", "out.aac", "in.aac"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  ASSERT_GT(packets, 703);
  EXPECT_NE(r.out.find("Trim(0,155)+Trim(312,468)+Trim(625,702)"), std::string::npos) << r.out;
  EXPECT_TRUE(decodes_cleanly(dir.file("out.aac")));
  EXPECT_EQ(count_packets(dir.file("out.aac")), 156 + 157 + 78);
}

TEST_F(RealAudio, Non48kHzIsNotEditable) {
  encode_adts(dir.file("44k.aac"), 2, "stereo", 44100);
  const ProcessResult r = run({"-o", "out.aac", "44k.aac"});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_NE(r.out.find(sjis("  サンプリング周波数: 44100 Hz\n")), std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.size() - sjis("編集非対応ファイルです。\n").size()),
            sjis("編集非対応ファイルです。\n"));
  EXPECT_EQ(read_file(dir.file("out.aac")), "");
}

}  // namespace
}  // namespace sarnik::test
