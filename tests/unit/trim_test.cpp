// One table from the Trim text, the frame rate, -a, the delay, the revision and the stream's
// length to the output ranges, or the whole-stream range without a call.
#include <gtest/gtest.h>

#include "cutlist/frame_mapping.hpp"
#include "cutlist/trim_source.hpp"
#include "support/product.hpp"
#include "support/support.hpp"

namespace sarnik {
namespace {

struct Row {
  const char* text = nullptr;  // nullptr: no -t
  bool script = false;
  FrameMapping mapping;
  std::int32_t total = 100000;
  Row set(std::int32_t FrameMapping::*field, std::int32_t value) const {
    Row r = *this;
    r.mapping.*field = value;
    return r;
  }
  Row f59() const { return set(&FrameMapping::frame_rate, 59940); }
  Row d(std::int32_t ms) const { return set(&FrameMapping::delay, ms); }
  Row add2() const { return set(&FrameMapping::shift_percent, 108); }
  Row a() const {
    Row r = *this;
    r.mapping.direct_frames = true;
    return r;
  }
  Row frames(std::int32_t n) const {
    Row r = *this;
    r.total = n;
    return r;
  }
};
Row t(const char* text, bool script = false) {
  Row r;
  r.text = text;
  r.script = script;
  return r;
}
Row script(const char* text) { return t(text, true); }

// The ranges as the run takes them ("start-end", end exclusive, or "none"), from the -t argument
// or the whole stream; the video frames --print-ranges shows are those the cut takes with -a.
std::string ranges_of(const Row& c) {
  const test::TempDir dir;
  std::optional<std::string> argument;
  if (c.text != nullptr) argument = c.script ? dir.write("cut.avs", c.text) : c.text;
  const std::vector<TrimCall> calls = read_trim_source(argument).calls;
  test::CapturedConsole printed;
  print_video_ranges(calls, printed.console);
  std::string taken, out = calls.empty() ? "fallback" : "";
  for (const CutRange& r : cut_ranges(calls, {c.mapping.frame_rate, true}, 0x7FFFFFFF)) {
    taken += std::to_string(r.start) + " " +
             (r.end == 0x7FFFFFFF ? "end" : std::to_string(r.end - 1)) + "\n";
  }
  EXPECT_EQ(printed.out(), taken);
  for (const CutRange& r : cut_ranges(calls, c.mapping, c.total)) {
    out += (out.empty() ? "" : " ") +
           (r.start == kNoOutput ? "none" : std::to_string(r.start) + "-" + std::to_string(r.end));
  }
  return out;
}

TEST(Trim, TextToRanges) {
  const std::string two = "0-10 20-30", whole = "fallback 0-100000";
  const struct {
    Row row;
    std::string expected;
  } cases[] = {
      {t("Trim(0,99)"), "0-156"},
      {t("TRIM( 0 , 99 )"), "0-156"},
      {t("Trim(1,0)"), "1-100000"},
      {t("Trim(0,-1)").a(), "0-1"},
      {t("Trim(1000,1999)").d(100), "1559-3123"},
      {t("Trim(4,4)").f59(), "none"},
      {t("Trim(2000,3000)").frames(1000), "999-1000"},
      {t("Trim(900,2000)").a().frames(1000), "900-1000"},
      {t("Trim(0,99"), "0-156"},
      {t("Trim(0,-123456)").a(), "0-100000"},
      {t("Trim(5,-)").a(), "5-100000"},
      // The add 2 shift: 1000 ms are 46 frames, taken as 49.
      {t("Trim(100,199)").a().d(1000).add2(), "51-151"},
      {t("Trim(30,99)").a().d(1000).add2(), "0-51"},
      // Video to AAC frames, less the delay's sub-frame correction and whole frames.
      {t("Trim(1000,0)").d(100).frames(100000000), "1559-100000000"},
      {t("Trim(2,0)").d(1), "2-100000"},
      {t("Trim(484,0)").d(39), "756-100000"},
      {t("Trim(1000,0)").f59().d(124), "776-100000"},
      {t("Trim(1280,0)").f59(), "1001-100000"},
      {t("Trim(41600,0)"), "65064-100000"},
      // Calls joined, malformed calls, and what ends the reading.
      {t("trim(0,9)trim(20,29)").a(), two},
      {t("trim(0,9)x+trim(20,29)").a(), "0-10"},
      {t("trim(0,9)\r+trim(20,29)").a(), "0-10"},
      {t("trim(0,9)\n\\trim(20,29)").a(), two},
      {t("trim(0,9)\n").a(), "0-10"},
      {t("trim(0,9)+Trim(1234567,1234568)").a(), "0-10 99999-100000"},
      {t("trim(0,9)+Trim(0,-1234567)").a(), "0-10"},
      {t("Trim(12345678,99)+trim(0,9)"), whole},
      {t("Trim(5,)"), whole},
      {t("Trim(,5)"), whole},
      {t("Trim(5.9)").a(), whole},
      {t("Trim(5").d(107), "fallback 0-99995"},
      {t(""), whole},
      // Scripts: CR, blanks and case dropped; the first Trim line and its continuations.
      {script(
           "# cut\r\nAVISource(\"a\")\r\n#Trim(5,6)\r\nx=Trim(7,8)\r\nTrim(0,9) + Trim(20,29)\r\n")
           .a(),
       two},
      {script("Trim(0,9)\r\n\\ ++ Trim(20,29)\r\n").a(), two},
      {script("Trim(0,9)\\\n+Trim(20,29)\n").a(), "0-10"},
      {script("Trim(0,9)\nTrim(20,29)\n").a(), "0-10"},
      {script("\tT r i m ( 0 , 9 )\r").a(), "0-10"},
      {script("\xEF\xBB\xBFTrim(0,9)\r\n").a(), "0-10"},
      {script("AVISource(\"a.avi\")\n"), whole},
      // No -t: the whole stream, shifted by the delay in frames.
      {Row{}.d(3200).frames(150), "fallback none"},
      {Row{}.d(-3222).frames(150), "fallback 151-150"},
      {Row{}.d(278).add2().frames(100), "fallback 0-86"},
      {Row{}.d(-278).add2().frames(100), "fallback 14-100"},
  };
  for (const auto& c : cases) EXPECT_EQ(ranges_of(c.row), c.expected) << c.row.text;
}

}  // namespace
}  // namespace sarnik
