// Real AAC made by ffmpeg, reported, cut and joined by sarnik, and decoded by
// ffmpeg without a word of complaint, packet for packet.
#include <gtest/gtest.h>

#include "support/support.hpp"

namespace sarnik::test {
namespace {

long packets(const std::string& path) {
  return std::atol(run_process({"ffprobe", "-v", "error", "-count_packets", "-show_entries", "stream=nb_read_packets", "-of", "csv=p=0", path}).out.c_str());
}
std::string decode(const std::string& path) { return run_process({"ffmpeg", "-nostdin", "-v", "error", "-i", path, "-f", "null", "-"}).err; }

TEST(RealAudio, ReportCutJoinAndDecode) {
  const TempDir dir;
  for (const auto& [name, seconds, layout] : {std::tuple("a.aac", "20", "stereo"), {"b.aac", "3", "5.1"}}) {
    ASSERT_EQ(run_process({"ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i", std::string("sine=duration=") + seconds + ":sample_rate=48000",
                           "-af", std::string("aformat=channel_layouts=") + layout, "-c:a", "aac", "-f", "adts", name}, dir.path).exit_code, 0);
  }
  const long a = packets(dir.file("a.aac")), b = packets(dir.file("b.aac"));
  ASSERT_GT(a, 703);
  dir.write("ab.aac", read_file(dir.file("a.aac")) + read_file(dir.file("b.aac")));
  ProcessResult r = run_sarnik(Program::add3, {"ab.aac"}, dir.path);
  EXPECT_NE(r.out.find(sjis("  フレーム:     " + std::to_string(a + b) + " フレーム\n")), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(sjis("  チャンネル:   2 ch\n" + std::to_string(a) + "フレーム以降:\n  チャンネル:   5.1 ch\n")), std::string::npos);
  // Video frames 0-99, 200-299 and 400-449 at 29.97 fps; two joined less 500 ms (24 frames by add 2).
  dir.write("cut.avs", "AVISource(\"in.avi\")\r\nTrim(0,99) ++ Trim(200,299)\r\n\\ + Trim(400,-50)\r\n");
  r = run_sarnik(Program::add3, {"-t", "cut.avs", "-o", "cut.aac", "a.aac"}, dir.path);
  EXPECT_NE(r.out.find("Trim(0,155)+Trim(312,468)+Trim(625,702)"), std::string::npos) << r.out << r.err;
  r = run_sarnik(Program::add2, {"-d", "-500", "-o", "join.aac", "a.aac", "a.aac"}, dir.path);
  EXPECT_EQ(decode(dir.file("cut.aac")) + decode(dir.file("join.aac")), "");
  EXPECT_EQ(packets(dir.file("cut.aac")), 156 + 157 + 78);
  EXPECT_EQ(packets(dir.file("join.aac")), 2 * a - 24);
}

}  // namespace
}  // namespace sarnik::test
