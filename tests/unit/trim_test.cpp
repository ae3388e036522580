// One table from the Trim text (inline or a script) to the calls read; one from the calls, the
// frame rate, -a, the delay, the revision and the stream's length to the output ranges.
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

void expect_each(std::string (*made)(const Row&),
                 const std::vector<std::pair<Row, std::string>>& rows) {
  for (const auto& [row, expected] : rows) EXPECT_EQ(made(row), expected) << row.text;
}

std::vector<TrimCall> calls_of(const Row& c) {
  const test::TempDir dir;
  std::optional<std::string> argument;
  if (c.text != nullptr) argument = c.script ? dir.write("cut.avs", c.text) : c.text;
  return read_trim_source(argument).calls;
}

// The calls read, as --print-ranges shows them: each call's first and last video frame, or its
// first and "end"; "none" without a call.
std::string video_frames(const Row& c) {
  const std::vector<TrimCall> calls = calls_of(c);
  test::CapturedConsole printed;
  print_video_ranges(calls, printed.console);
  return calls.empty() ? "none" : printed.out();
}

TEST(Trim, TextToVideoFrames) {
  expect_each(
      video_frames,
      {
          {t("Trim(0,99)"), "0 99\n"},
          {t("TRIM( 0 , 99 )"), "0 99\n"},
          {t("Trim(0,99"), "0 99\n"},
          {t("Trim(7,3)"), "7 7\n"},
          {t("Trim(1,0)"), "1 end\n"},
          {t("Trim(5,-)"), "5 end\n"},
          {t("Trim(0,-1)"), "0 0\n"},
          {t("Trim(0,-123456)"), "0 123455\n"},
          // Calls joined, malformed calls, and what ends the reading.
          {t("trim(0,9)trim(20,29)"), "0 9\n20 29\n"},
          {t("trim(0,9)x+trim(20,29)"), "0 9\n"},
          {t("trim(0,9)\r+trim(20,29)"), "0 9\n"},
          {t("trim(0,9)\n\\trim(20,29)"), "0 9\n20 29\n"},
          {t("trim(0,9)\n"), "0 9\n"},
          {t("trim(0,9)+Trim(0,-1234567)"), "0 9\n"},
          {t("Trim(12345678,99)+trim(0,9)"), "none"},
          {t("Trim(5,)"), "none"},
          {t("Trim(,5)"), "none"},
          {t("Trim(5.9)"), "none"},
          {t("Trim(5"), "none"},
          {t(""), "none"},
          // Scripts: CR, blanks and case dropped; the first Trim line and its continuations.
          {script("# cut\r\nAVISource(\"a\")\r\n#Trim(5,6)\r\nx=Trim(7,8)\r\n"
                  "Trim(0,9) + Trim(20,29)\r\n"),
           "0 9\n20 29\n"},
          {script("Trim(0,9)\r\n\\ ++ Trim(20,29)\r\n"), "0 9\n20 29\n"},
          {script("Trim(0,9)\\\n+Trim(20,29)\n"), "0 9\n"},
          {script("Trim(0,9)\nTrim(20,29)\n"), "0 9\n"},
          {script("\tT r i m ( 0 , 9 )\r"), "0 9\n"},
          {script("\xEF\xBB\xBFTrim(0,9)\r\n"), "0 9\n"},
          {script("AVISource(\"a.avi\")\n"), "none"},
      });
}

// The output ranges ("start-end", end exclusive, or "none") of the calls, or of the whole stream.
std::string ranges_of(const Row& c) {
  std::string out;
  for (const CutRange& r : cut_ranges(calls_of(c), c.mapping, c.total)) {
    out += (out.empty() ? "" : " ") +
           (r.start == kNoOutput ? "none" : std::to_string(r.start) + "-" + std::to_string(r.end));
  }
  return out;
}

TEST(Trim, CallsToRanges) {
  expect_each(ranges_of,
              {
                  {t("Trim(0,99)"), "0-156"},
                  {t("Trim(1,0)"), "1-100000"},
                  {t("Trim(0,-1)").a(), "0-1"},
                  {t("Trim(1000,1999)").d(100), "1559-3123"},
                  {t("Trim(4,4)").f59(), "none"},
                  {t("Trim(2000,3000)").frames(1000), "999-1000"},
                  {t("Trim(900,2000)").a().frames(1000), "900-1000"},
                  {t("Trim(0,-123456)").a(), "0-100000"},
                  {t("trim(0,9)+Trim(1234567,1234568)").a(), "0-10 99999-100000"},
                  // The add 2 shift: 1000 ms are 46 frames, taken as 49.
                  {t("Trim(100,199)").a().d(1000).add2(), "51-151"},
                  {t("Trim(30,49)").a().d(1000).add2(), "0-1"},
                  // Video to AAC frames, less the delay's sub-frame correction and whole frames.
                  {t("Trim(1000,0)").d(100).frames(100000000), "1559-100000000"},
                  {t("Trim(2,0)").d(1), "2-100000"},
                  {t("Trim(484,0)").d(39), "756-100000"},
                  {t("Trim(1000,0)").f59().d(124), "776-100000"},
                  {t("Trim(1280,0)").f59(), "1001-100000"},
                  {t("Trim(41600,0)"), "65064-100000"},
                  // No call: the whole stream, shifted by the delay in frames.
                  {t("Trim(5"), "0-100000"},
                  {Row{}.d(3200).frames(150), "none"},
                  {Row{}.d(-3222).frames(150), "151-150"},
                  {Row{}.d(278).add2().frames(100), "0-86"},
                  {Row{}.d(-278).add2().frames(100), "14-100"},
              });
}

}  // namespace
}  // namespace sarnik
