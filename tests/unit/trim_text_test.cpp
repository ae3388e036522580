#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <sstream>
#include <vector>

#include "cutlist/trim_source.hpp"
#include "cutlist/trim_text.hpp"
#include "support/files.hpp"
#include "support/process.hpp"

namespace sarnik {
namespace {

using Ranges = std::vector<std::pair<std::int32_t, std::int32_t>>;

struct Options {
  std::int32_t total = 100000;
  std::int32_t delay = 0;
  std::int32_t rate = 29970;
  bool direct = false;
  int revision = 3;
};

Ranges parse_inline(const std::string& argument, Options o = {}) {
  std::vector<CutRange> ranges;
  const TrimContext context{FrameMapping{o.rate, o.direct, o.delay}, o.total,
                            o.revision == 2 ? (o.delay * 46875LL / 1000000) * 108 / 100
                                            : o.delay * 46875LL / 1000000};
  parse_trim_text(normalise_inline_text(argument), context, ranges);
  Ranges out;
  for (const CutRange& r : ranges) out.emplace_back(r.start, r.end);
  return out;
}

Ranges parse_script(const std::string& bytes, Options o = {}) {
  std::string text;
  append_script_bytes(text, bytes);
  std::vector<CutRange> ranges;
  parse_trim_text(text, TrimContext{FrameMapping{o.rate, o.direct, o.delay}, o.total, 0}, ranges);
  Ranges out;
  for (const CutRange& r : ranges) out.emplace_back(r.start, r.end);
  return out;
}

// The video frames that examples/trim-to-select.awk keeps for a script, as
// (first, end) pairs, end exclusive; a call that runs to the end of the video
// ends at INT_MAX. Its expression joins between(n,first,last) and gte(n,first)
// terms by '+', or is "1" when there is no call.
Ranges awk_ranges(const std::string& script) {
  const test::TempDir dir;
  const std::string file = dir.write("cut.avs", script);
  const test::ProcessResult r = test::run_process(
      {"env", "LC_ALL=C", "awk", "-f", SARNIK_SOURCE_DIR "/examples/trim-to-select.awk", file});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  Ranges out;
  std::istringstream terms(r.out);
  std::string term;
  while (std::getline(terms, term, '+')) {
    long first = 0, last = 0;
    if (std::sscanf(term.c_str(), "between(n,%ld,%ld)", &first, &last) == 2) {
      out.emplace_back(first, last + 1);
    } else if (std::sscanf(term.c_str(), "gte(n,%ld)", &first) == 1) {
      out.emplace_back(first, INT_MAX);
    } else if (term != "1\n") {
      ADD_FAILURE() << "awk printed " << r.out;
    }
  }
  return out;
}

// The example's video cut keeps the frames whose audio the reader keeps: with
// frame numbers taken as they are and a stream longer than any Trim call.
void expect_awk_agrees(const std::string& script) {
  Options direct;
  direct.direct = true;
  direct.total = INT_MAX;
  EXPECT_EQ(awk_ranges(script), parse_script(script, direct)) << script;
}

TEST(TrimText, Classification) {
  EXPECT_TRUE(is_inline_trim_text("Trim(0,99)"));
  EXPECT_TRUE(is_inline_trim_text("TRIM(0,99)"));
  EXPECT_TRUE(is_inline_trim_text("trim("));
  EXPECT_FALSE(is_inline_trim_text("Trim (0,99)"));
  EXPECT_FALSE(is_inline_trim_text(" Trim(0,99)"));
  EXPECT_FALSE(is_inline_trim_text("trim"));
  EXPECT_FALSE(is_inline_trim_text("movie.avs"));
}

TEST(TrimText, SingleCalls) {
  struct {
    const char* text;
    Options options;
    Ranges expected;
  } cases[] = {
      {"Trim(0,99)", {}, {{0, 156}}},
      {"Trim(0,99)", {.direct = true}, {{0, 100}}},
      {"TRIM(0,99)", {}, {{0, 156}}},
      {"Trim( 0 , 99 )", {}, {{0, 156}}},
      {"Trim(100,50)", {}, {{156, 157}}},
      {"Trim(10,-5)", {}, {{15, 23}}},
      {"Trim(0,0)", {}, {{0, 100000}}},
      {"Trim(0,0)", {.delay = -100}, {{4, 100000}}},
      {"Trim(0,0)", {.delay = 100}, {{0, 100000}}},
      {"Trim(1000,1999)", {}, {{1564, 3128}}},
      {"Trim(1000,1999)", {.delay = 100}, {{1559, 3123}}},
      {"Trim(0,99)", {.delay = 500}, {{0, 133}}},
      {"Trim(4,4)", {.rate = 59940}, {{-1, -1}}},
      {"Trim(2000,3000)", {.total = 1000}, {{999, 1000}}},
      {"Trim(2000,3000)", {.total = 1000, .direct = true}, {{999, 1000}}},
      {"Trim(2000,2500)", {.total = 1000, .direct = true}, {{999, 1000}}},
      {"Trim(900,2000)", {.total = 1000, .direct = true}, {{900, 1000}}},
      {"Trim(1000,0)", {.total = 1000, .direct = true}, {{999, 1000}}},
      {"Trim(0,99", {}, {{0, 156}}},
      {"Trim(9999999,1)", {.total = 100000000, .direct = true}, {{9999999, 10000000}}},
      {"Trim(0,-123456)", {.direct = true}, {{0, 100000}}},
      {"Trim(5,12-3)", {.direct = true}, {{5, 13}}},
      {"Trim(5,-)", {.direct = true}, {{5, 100000}}},
      {"Trim(5,0-9)", {.direct = true}, {{5, 100000}}},
      // The add 2 shift: 1000 ms is 46 frames, adjusted to 49.
      {"Trim(100,199)", {.delay = 1000, .direct = true, .revision = 2}, {{51, 151}}},
      {"Trim(100,199)", {.delay = 1000, .direct = true}, {{54, 154}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_inline(c.text, c.options), c.expected) << c.text;
    expect_awk_agrees(c.text);
  }
}

TEST(TrimText, JoinedAndMalformedCalls) {
  struct {
    const char* text;
    Ranges expected;
  } cases[] = {
      {"trim(0,9)+trim(20,29)", {{0, 10}, {20, 30}}},
      {"trim(0,9)++trim(20,29)", {{0, 10}, {20, 30}}},
      {"trim(0,9)trim(20,29)", {{0, 10}, {20, 30}}},
      {"Trim(0,9,1)+Trim(20,29)", {{0, 10}, {20, 30}}},
      {"trim(0,9)x+trim(20,29)", {{0, 10}}},
      {"Trim(12345678,99)+trim(0,9)", {}},
      {"trim(0,9)+Trim(1234567,1234568)", {{0, 10}, {99999, 100000}}},
      {"trim(0,9)+Trim(0,-1234567)", {{0, 10}}},
      {"Trim(5,)", {}},
      {"Trim(,5)", {}},
      {"Trim(5", {}},
      {"Trim(5,", {}},
      {"Trim(50,10)+Trim(0,9)", {{50, 51}, {0, 10}}},
      {"", {}},
  };
  for (const auto& c : cases) {
    Options direct;
    direct.direct = true;
    EXPECT_EQ(parse_inline(c.text, direct), c.expected) << c.text;
    expect_awk_agrees(c.text);
  }
}

TEST(TrimText, Scripts) {
  Options direct;
  direct.direct = true;
  const Ranges two = {{0, 10}, {20, 30}};
  struct {
    const char* script;
    Ranges expected;
  } cases[] = {
      {"Trim(0,9)+Trim(20,29)\n", two},
      {"Trim(0,9)+Trim(20,29)\r\n", two},
      {"# cut\r\nAVISource(\"a.avi\")\r\n#Trim(5,6)\r\nx=Trim(7,8)\r\nTrim(0,9) + Trim(20,29)\r\n", two},
      {"Trim(0,9)\n\\+Trim(20,29)\n", two},
      {"Trim(0,9)\r\n\\ ++ Trim(20,29)\r\n", two},
      {"Trim(0,9)\\\n+Trim(20,29)\n", {{0, 10}}},
      {"Trim(0,9)\nTrim(20,29)\n", {{0, 10}}},
      {"Trim(0,9)\n\nTrim(20,29)\n", {{0, 10}}},
      {"\tT r i m ( 0 , 9 )\r", {{0, 10}}},
      {"", {}},
      {"AVISource(\"a.avi\")\n", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_script(c.script, direct), c.expected) << c.script;
    expect_awk_agrees(c.script);
  }
}

TEST(TrimText, ExampleAwkReadsAsTheReader) {
  // Lines that an earlier awk read otherwise than the reader.
  for (const char* script : {"Trim(0,9) # old cut: ++ Trim(600,899)\n", "trim(0,9)x+trim(20,29)",
                             "Trim(5,)", "Trim(0,9)+Trim(5,--4)", "Trim(0,9)+Trim(12345678,9)",
                             "Trim(0,9)+Trim(1234567,-123456)", "\n\\trim(3,4)", "x\n+++TRIM(0,0)"}) {
    expect_awk_agrees(script);
  }
  // Random scripts: calls with numbers of 0 to 8 characters, among the
  // other pieces that the reader tells apart.
  const std::vector<std::string> pieces = {"Trim(", "tRiM(", "Trim (", "t", ",", "-", ")", "+",
                                           "++", "\n", "\r\n", "\\", " ", "\t", "x", "#"};
  std::mt19937 random(18);
  const auto digits = [&random](int most) {
    std::string run(random() % (most + 1), '0');
    for (char& c : run) c = static_cast<char>('0' + random() % 10);
    return run;
  };
  for (int i = 0; i < 400; ++i) {
    std::string script;
    const int count = 1 + static_cast<int>(random() % 12);
    for (int k = 0; k < count; ++k) {
      if (random() % 2) {
        script += pieces[random() % pieces.size()];
      } else {
        script += (random() % 2 ? "Trim(" : "TRIM(") + digits(8) + "," +
                  (random() % 3 ? "" : random() % 2 ? "-" : "--") + digits(random() % 4 ? 4 : 8) +
                  (random() % 4 ? ")" : "");
      }
    }
    expect_awk_agrees(script);
  }
}

TEST(TrimText, InlineKeepsLineEnds) {
  Options direct;
  direct.direct = true;
  // CR is kept in inline text, so it ends the reading after the first call.
  EXPECT_EQ(parse_inline("trim(0,9)\r+trim(20,29)", direct), (Ranges{{0, 10}}));
  EXPECT_EQ(parse_inline("trim(0,9)\n\\trim(20,29)", direct), (Ranges{{0, 10}, {20, 30}}));
}

TEST(TrimText, Lowercasing) {
  std::string text;
  append_script_bytes(text, "TRIM(\x83\x41\r\n)");  // a Shift-JIS character: 0x83 0x41 ('A')
  EXPECT_EQ(text, "trim(\x83\x61\n)");
  EXPECT_EQ(normalise_inline_text("A B\tC\r\n"), "abc\r\n");
}

}  // namespace
}  // namespace sarnik
