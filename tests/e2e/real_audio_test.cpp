// Real AAC: ffmpeg encodes the inputs, sarnik reports, cuts and joins them,
// and ffmpeg decodes what it wrote, frame count for frame count.
#include <gtest/gtest.h>

#include "support/support.hpp"

namespace sarnik::test {
namespace {

TEST(RealAudio, ReportCutJoinAndDecode) {
  const TempDir dir;
  ASSERT_TRUE(encode_adts(dir.file("a.aac"), 20, "stereo") && encode_adts(dir.file("b.aac"), 3, "5.1"));
  const long a = count_packets(dir.file("a.aac")), b = count_packets(dir.file("b.aac"));
  ASSERT_GT(a, 703);
  dir.write("ab.aac", read_file(dir.file("a.aac")) + read_file(dir.file("b.aac")));
  // The frames ffprobe counts, and the channel layouts as segments.
  ProcessResult r = run_sarnik(Program::add3, {"ab.aac"}, dir.path);
  EXPECT_NE(r.out.find(sjis("  フレーム:     " + std::to_string(a + b) + " フレーム\n")), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(sjis("  チャンネル:   2 ch\n" + std::to_string(a) + "フレーム以降:\n  チャンネル:   5.1 ch\n")), std::string::npos);
  // A script cut: video frames 0-99, 200-299 and 400-449 at 29.97 fps.
  dir.write("cut.avs", "AVISource(\"in.avi\")\r\nTrim(0,99) ++ Trim(200,299)\r\n\\ + Trim(400,-50)\r\n");
  r = run_sarnik(Program::add3, {"-t", "cut.avs", "-o", "cut.aac", "a.aac"}, dir.path);
  EXPECT_NE(r.out.find("Trim(0,155)+Trim(312,468)+Trim(625,702)"), std::string::npos) << r.out << r.err;
  EXPECT_TRUE(decodes_cleanly(dir.file("cut.aac")));
  EXPECT_EQ(count_packets(dir.file("cut.aac")), 156 + 157 + 78);
  // Two inputs joined, 500 ms (23 frames, taken as 24 by add 2) dropped.
  r = run_sarnik(Program::add2, {"-d", "-500", "-o", "join.aac", "a.aac", "a.aac"}, dir.path);
  EXPECT_TRUE(decodes_cleanly(dir.file("join.aac"))) << r.err;
  EXPECT_EQ(count_packets(dir.file("join.aac")), 2 * a - 24);
}

}  // namespace
}  // namespace sarnik::test
