// Real AAC made by ffmpeg, cut and joined by sarnik, and decoded by ffmpeg without a word of
// complaint, packet for packet.
#include <gtest/gtest.h>

#include "support/support.hpp"

namespace sarnik::test {
namespace {

// The packets ffprobe counts in a file, then whatever ffmpeg says decoding it.
std::string probe(const std::string& file, const std::string& folder) {
  return run_shell(
             "ffprobe -v error -count_packets -show_entries stream=nb_read_packets -of csv=p=0 " +
                 file + " && ffmpeg -nostdin -v error -i " + file + " -f null - 2>&1",
             folder)
      .out;
}

TEST(RealAudio, CutJoinAndDecode) {
  const TempDir dir;
  ASSERT_EQ(
      run_shell("ffmpeg -nostdin -v error -f lavfi -i sine=duration=20 -ar 48000 -ac 2 -c:a aac "
                "-f adts stereo.aac",
                dir.path)
          .exit_code,
      0);
  const long a = std::stol(probe("stereo.aac", dir.path));
  ASSERT_GT(a, 703);
  // Video frames 0-99, 200-299 and 400-449 at 29.97 fps; two joined less 500 ms (24 frames by
  // add 2).
  dir.write("cut.avs",
            "AVISource(\"in.avi\")\r\nTrim(0,99) ++ Trim(200,299)\r\n\\ + Trim(400,-50)\r\n");
  const ProcessResult r = run_shell("sarnik -t cut.avs -o cut.aac stereo.aac", dir.path);
  EXPECT_NE(r.out.find("Trim(0,155)+Trim(312,468)+Trim(625,702)"), std::string::npos) << r.out;
  run_shell("sarnik2 -d -500 -o join.aac stereo.aac stereo.aac", dir.path);
  EXPECT_EQ(probe("cut.aac", dir.path), std::to_string(156 + 157 + 78) + "\n");
  EXPECT_EQ(probe("join.aac", dir.path), std::to_string(2 * a - 24) + "\n");
}

}  // namespace
}  // namespace sarnik::test
