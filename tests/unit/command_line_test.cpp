// The command line: one table from the arguments to the settings, the invalid verdict, the usage
// request or the error exit; one from a first input's name to what -x derives, in both revisions.
#include "driver/command_line.hpp"

#include <gtest/gtest.h>

#include "support/product.hpp"
#include "support/support.hpp"

namespace sarnik {
namespace {

const Revision kAdd3{Msg::banner_add3, 100, &derive_add3},
    kAdd2{Msg::banner_add2, 108, &derive_add2};

// The settings that differ from the defaults, or how the parse ended (the usage text itself is
// the command-line table's).
std::string parse(std::vector<const char*> args) {
  args.insert(args.begin(), "sarnik");
  RunSettings s;
  test::CapturedConsole captured;
  const int argc = static_cast<int>(args.size());
  try {
    if (parse_command_line(s, argc, args.data(), kAdd3, captured.console) ==
        ParseResult::usage_shown) {
      return "usage";
    }
  } catch (const FatalError& e) {
    if (e.message == Msg::invalid_options) return "invalid";
    throw;
  }
  std::string line = s.print_ranges ? "ranges" : "in=";
  for (const std::string& name : s.input_names) line += name + ",";
  if (s.output_name) line += " o=" + *s.output_name;
  if (s.trim_argument) line += " t=" + *s.trim_argument;
  if (s.delay != 0) line += " d=" + std::to_string(s.delay);
  return line + (s.frame_rate == 59940 ? " 59.94" : "") + (s.direct_frames ? " a" : "");
}

TEST(CommandLine, ArgumentsToSettings) {
  const std::vector<const char*> sixteen(16, "i");
  const struct {
    std::vector<const char*> args;
    std::string expected;
  } cases[] = {
      {{"a.aac", "-o", "out.aac", "b.aac", "-T", "Trim(0,9)", "-d", "-120", "-F", "59.940", "-A"},
       "in=a.aac,b.aac, o=out.aac t=Trim(0,9) d=-120 59.94 a"},
      {{"-d", "5", "-d", "+7", "-f", "59.94", "-f", "29.97x", "a"}, "in=a, d=7"},
      {{"-d", "9999999", "a"}, "in=a, d=9999999"},
      {{"-o", "-a", "in"}, "in=in, o=-a"},
      {sixteen, "in=i,i,i,i,i,i,i,i,i,i,i,i,i,i,i,i,"},
      {{"a", "-H", "-q"}, "usage"},
      {{"-?"}, "usage"},
      {{"-d", "12345678", "a"}, "invalid"},
      {{"-d", "-1234567", "a"}, "invalid"},
      {{"-d", "1.5", "a"}, "invalid"},
      {{"-d", "--1", "a"}, "invalid"},
      {{"-f", "29.9", "a"}, "invalid"},
      {{"-o", "x", "-o", "y", "a"}, "invalid"},
      {{"-t", "x", "-t", "y", "a"}, "invalid"},
      {{"a", "-o"}, "invalid"},
      {{"a", "-t"}, "invalid"},
      {{"a", "-d"}, "invalid"},
      {{"a", "-f"}, "invalid"},
      {{"-", "a"}, "invalid"},
      {{"-o", "out.aac"}, "invalid"},
      // -x replaces -o and -d.
      {{"-o", "x.aac", "-d", "5", "-x", "in -40ms.aac", "b 7ms.aac"},
       "in=in -40ms.aac,b 7ms.aac, o=in 0ms.aac d=-40"},
      // --print-ranges, only first, takes -t and passes over -f, -a, -d and -x; no input, no -o.
      {{"--print-ranges", "-x", "-t", "c.avs", "-a", "-f", "59.94", "-d", "5"},
       "ranges t=c.avs d=5 59.94 a"},
      {{"--print-ranges", "a"}, "invalid"},
      {{"--print-ranges", "-o", "o"}, "invalid"},
  };
  for (const auto& c : cases) EXPECT_EQ(parse(c.args), c.expected) << c.args.back();
}

TEST(CommandLine, NameToDerivation) {
  const std::string missing =
                        "-xオプションが指定されましたが、ファイル名に\"-**ms\"が見つかりません。\n",
                    too_large = "ファイル名の遅延時間が大きすぎます。", a252(252, 'a');
  const struct {
    std::string name, expected;  // the output name and the delay, or the refusal; UTF-8
  } add3[] =
      {
          // The last "<number>ms".
          {"take 12-34ms.aac", "take 12-0ms.aac 34"},
          {"a 5ms b 7MS.aac", "a 5ms b 0ms.aac 7"},
          {"120ms rec.aac", "0ms rec.aac 120"},
          {"take5x-57ms.aac", "take5x0ms.aac -57"},
          {"x -2147483648ms", "x 0ms -2147483648"},
          {a252 + "5ms.aac", a252 + "0ms.aac 5"},
          {a252 + "a5ms.aac", "出力ファイル名が長すぎます。"},
          {"x -ms.aac", "入力ファイル上書き防止の為中止します\n"},
          {"movie ms.aac", missing},
          {"rec -57ms 2xs.aac", "rec 0ms 2xs.aac -57"},
          {"x 2147483648ms", too_large},
          {"x -2147483649ms", too_large},
      },
    add2[] = {
        // From two characters after the first 'y' to the first 'm'.
        {"DELAY-57ms.aac", "DELAY-0ms.aac 57"},
        {"Delay +12 ms.aac", "Delay 0ms.aac 12"},
        {"DELAY -0ms.aac", "DELAY 0ms.aac 0"},
        {"day1 delay 120ms.aac", "day10ms.aac 0"},
        {"Music/T1 DELAY -5ms", "Music/T1 DELAY 0mssic/T1 DELAY -5ms 0"},
        {"DELAY\t 5ms", "DELAY\t0ms 5"},
        {"DELAY é5ms", "DELAY 0ms 0"},
        {"DELAY 9", "DELAY 0ms 9"},
        {"MAY", "MAY0msY 0"},
        {"Y", "Y0ms 0"},
        {"DELAY 00000000000012345ms", "DELAY 0ms 12"},
        {"DELAY 2147483648ms.aac", too_large},
        {"movie 5ms.aac", missing},
    };
  const auto check = [](const auto& rows, const Revision& revision) {
    for (const auto& c : rows) {
      const Derivation d = revision.derive_from_name(c.name);
      EXPECT_EQ(d.ok ? d.output_name + " " + std::to_string(d.delay) : std::string(text(d.failure)),
                test::sjis(c.expected));
    }
  };
  check(add3, kAdd3);
  check(add2, kAdd2);
}

}  // namespace
}  // namespace sarnik
