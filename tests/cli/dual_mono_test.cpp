// Dual mono (channel configuration 0, a PCE in every 25th frame from frame 5) cut where a decoder
// has not been told the layout yet: the output's first frame gets the input's PCE nearest before
// it, else after it; every other frame is the input's own. Under Wine too.
#include "support/dual_mono.hpp"

#include <gtest/gtest.h>

namespace sarnik::test {
namespace {

TEST(Cli, DualMonoDecodesFromTheFirstFrame) {
  const DualMono& d = dual_mono();
  const std::size_t n = d.main.size();
  ASSERT_TRUE(n > 101 && d.sub.size() == n) << "the encodes";
  const struct {
    std::string trim, inputs, out;
    int frames;
    bool decodes = true;  // ffmpeg says nothing (it cannot without any PCE)
  } rows[] = {
      {.trim = "Trim(10,100)",
       .inputs = "dual.aac",
       .out = d.frame(10, 5) + d.frames(11, 101),
       .frames = 91},
      {.trim = "Trim(30,100)", .inputs = "dual.aac", .out = d.frames(30, 101), .frames = 71},
      {.trim = "Trim(2,40)+Trim(60,70)",
       .inputs = "dual.aac",
       .out = d.frame(2, 5) + d.frames(3, 41) + d.frames(60, 71),
       .frames = 50},
      {.trim = "Trim(" + std::to_string(n + 12) + "," + std::to_string(n + 40) + ")+Trim(0,9)",
       .inputs = "plain.aac dual.aac",
       .out = d.frame(12, 5) + d.frames(13, 41) + d.frames(0, 10, false),
       .frames = 39},
      {.trim = "Trim(10,100)",
       .inputs = "plain.aac",
       .out = d.frames(10, 101, false),
       .frames = 91,
       .decodes = false},
      {.trim = "Trim(10,100)",
       .inputs = "crc.aac",
       .out = d.frames(10, 101, true, true),
       .frames = 91,
       .decodes = false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.trim + " " + row.inputs);
    const TempDir dir;
    dir.write("dual.aac", d.frames(0, n));
    dir.write("plain.aac", d.frames(0, n, false));
    dir.write("crc.aac", d.frames(0, n, true, true));
    const ProcessResult r =
        run_shell("sarnik -a -t '" + row.trim + "' -o out.aac " + row.inputs +
                      (row.decodes ? " && ffmpeg -v error -i out.aac -f null - 2>&1" : ""),
                  dir.path);
    EXPECT_TRUE(r.out.ends_with(sjis("出力中...\n" + row.trim +
                                     "\n出力サイズ: " + std::to_string(row.out.size()) +
                                     " バイト (" + std::to_string(row.frames) + "フレーム)\n")))
        << r.out;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_TRUE(read_file(dir.file("out.aac")) == row.out);
  }
}

}  // namespace
}  // namespace sarnik::test
