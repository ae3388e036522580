// The command line and -x in both revisions: one table from the arguments to
// the settings, the invalid verdict, the usage request or the error exit.
#include <gtest/gtest.h>

#include "driver/command_line.hpp"
#include "platform/names.hpp"
#include "support/product.hpp"
#include "support/support.hpp"

namespace sarnik {
namespace {

std::string parse(int add, std::vector<std::string> args) {
  std::vector<const char*> argv = {"sarnik"};
  for (const std::string& a : args) argv.push_back(a.c_str());
  RunSettings s;
  test::CapturedConsole captured;
  try {
    const Revision revision = add == 2 ? Revision{Msg::banner_add2, 108, &derive_add2} : Revision{Msg::banner_add3, 100, &derive_add3};
    switch (parse_command_line(s, static_cast<int>(argv.size()), argv.data(), revision, captured.console)) {
      case ParseResult::invalid: return "invalid";
      case ParseResult::usage_shown: return captured.out() == text(Msg::usage) ? "usage" : "usage?";
      case ParseResult::usable: break;
    }
  } catch (const FatalError& e) {
    return "error: " + std::string(text(e.message)) + (e.with_usage ? " +usage" : "");
  }
  std::string line = "in=";
  for (const std::string& name : s.input_names) line += name + ",";
  return line + " o=" + s.output_name.value_or("-") + " t=" + s.trim_argument.value_or("-") +
         " d=" + std::to_string(s.delay) + " f=" + std::to_string(s.frame_rate) + (s.direct_frames ? " a" : "");
}

TEST(CommandLine, ArgumentsToSettings) {
  const std::string tag_missing = "error: -xオプションが指定されましたが、ファイル名に\"-**ms\"が見つかりません。\n";
  const std::string too_large = "error: ファイル名の遅延時間が大きすぎます。";
  const std::string name_252 = std::string(252, 'a');
  const struct {
    int add;
    std::vector<std::string> args;
    std::string expected;  // UTF-8
  } cases[] = {
      {3, {"a.aac"}, "in=a.aac, o=- t=- d=0 f=29970"},
      {3, {"a.aac", "-o", "out.aac", "b.aac", "-T", "Trim(0,9)", "-d", "-120", "-F", "59.940", "-A"},
       "in=a.aac,b.aac, o=out.aac t=Trim(0,9) d=-120 f=59940 a"},
      {3, {"-d", "5", "-d", "+7", "-f", "59.94", "-f", "29.97x", "a"}, "in=a, o=- t=- d=7 f=29970"},
      {3, {"-d", "9999999", "a"}, "in=a, o=- t=- d=9999999 f=29970"},
      {3, {"-d", "-123456", "a"}, "in=a, o=- t=- d=-123456 f=29970"},
      {3, {"-o", "-a", "in"}, "in=in, o=-a t=- d=0 f=29970"},
      {3, std::vector<std::string>(16, "i"), "in=i,i,i,i,i,i,i,i,i,i,i,i,i,i,i,i, o=- t=- d=0 f=29970"},
      {3, std::vector<std::string>(17, "i"), "error: 入力ファイルは最大 %d ファイルまでです。 +usage"},
      {3, {"a", "-H", "-q"}, "usage"},
      {3, {"-?"}, "usage"},
      {3, {"-q", "-h"}, "invalid"},
      {3, {"-d", "12345678", "a"}, "invalid"},
      {3, {"-d", "-1234567", "a"}, "invalid"},
      {3, {"-d", "1.5", "a"}, "invalid"},
      {3, {"-d", "--1", "a"}, "invalid"},
      {3, {"-f", "29.9", "a"}, "invalid"},
      {3, {"-o", "x", "-o", "y", "a"}, "invalid"},
      {3, {"-t", "x", "-t", "y", "a"}, "invalid"},
      {3, {"a", "-o"}, "invalid"},
      {3, {"a", "-t"}, "invalid"},
      {3, {"a", "-d"}, "invalid"},
      {3, {"a", "-f"}, "invalid"},
      {3, {"-", "a"}, "invalid"},
      {3, {"-o", "out.aac"}, "invalid"},
      {3, {"-a", "-x"}, "invalid"},
      // -x: the add 3 rule takes the last "<number>ms" and replaces -o and -d.
      {3, {"-o", "x.aac", "-d", "5", "-x", "in -40ms.aac", "b 7ms.aac"}, "in=in -40ms.aac,b 7ms.aac, o=in 0ms.aac t=- d=-40 f=29970"},
      {3, {"-x", "take 12-34ms.aac"}, "in=take 12-34ms.aac, o=take 12-0ms.aac t=- d=34 f=29970"},
      {3, {"-x", "a 5ms b 7MS.aac"}, "in=a 5ms b 7MS.aac, o=a 5ms b 0ms.aac t=- d=7 f=29970"},
      {3, {"-x", "a--5ms"}, "in=a--5ms, o=a--0ms t=- d=5 f=29970"},
      {3, {"-x", "x -2147483648ms"}, "in=x -2147483648ms, o=x 0ms t=- d=-2147483648 f=29970"},
      {3, {"-x", "9999999999 2147483647ms"}, "in=9999999999 2147483647ms, o=9999999999 0ms t=- d=2147483647 f=29970"},
      {3, {"-x", name_252 + "5ms.aac"}, "in=" + name_252 + "5ms.aac, o=" + name_252 + "0ms.aac t=- d=5 f=29970"},
      {3, {"-x", name_252 + "a5ms.aac"}, "error: 出力ファイル名が長すぎます。"},
      {3, {"-x", "x -ms.aac"}, "error: 入力ファイル上書き防止の為中止します\n"},
      {3, {"-x", "x 000ms.aac"}, "error: 入力ファイル上書き防止の為中止します\n"},
      {3, {"-x", "movie.aac"}, tag_missing},
      {3, {"-x", "x 2147483648ms"}, too_large},
      {3, {"-x", "x -2147483649ms"}, too_large},
      // -x: the add 2 rule, from two characters after the first 'y' to the first 'm'.
      {2, {"-x", "-d", "9", "T1 DELAY -57ms.aac"}, "in=T1 DELAY -57ms.aac, o=T1 DELAY 0ms.aac t=- d=-57 f=29970"},
      {2, {"-x", "DELAY-57ms.aac"}, "in=DELAY-57ms.aac, o=DELAY-0ms.aac t=- d=57 f=29970"},
      {2, {"-x", "Delay +12 ms.aac"}, "in=Delay +12 ms.aac, o=Delay 0ms.aac t=- d=12 f=29970"},
      {2, {"-x", "DELAY -0ms.aac"}, "in=DELAY -0ms.aac, o=DELAY 0ms.aac t=- d=0 f=29970"},
      {2, {"-x", "day1 delay 120ms.aac"}, "in=day1 delay 120ms.aac, o=day10ms.aac t=- d=0 f=29970"},
      {2, {"-x", "Music/T1 DELAY -5ms"}, "in=Music/T1 DELAY -5ms, o=Music/T1 DELAY 0mssic/T1 DELAY -5ms t=- d=0 f=29970"},
      {2, {"-x", "DELAY\t 5ms"}, "in=DELAY\t 5ms, o=DELAY\t0ms t=- d=5 f=29970"},
      {2, {"-x", "DELAY #5ms"}, "in=DELAY #5ms, o=DELAY 0ms t=- d=0 f=29970"},
      {2, {"-x", "DELAY 9"}, "in=DELAY 9, o=DELAY 0ms t=- d=9 f=29970"},
      {2, {"-x", "MAY"}, "in=MAY, o=MAY0msY t=- d=0 f=29970"},
      {2, {"-x", "Y"}, "in=Y, o=Y0ms t=- d=0 f=29970"},
      {2, {"-x", "DELAY 00000000000012345ms"}, "in=DELAY 00000000000012345ms, o=DELAY 0ms t=- d=12 f=29970"},
      {2, {"-x", "DELAY 2147483648ms.aac"}, too_large},
      {2, {"-x", "movie 5ms.aac", "DELAY 5ms.aac"}, tag_missing},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse(c.add, c.args), test::sjis(c.expected))
        << "add " << c.add << ": " << (c.args.empty() ? "" : c.args.back());
  }
}

}  // namespace
}  // namespace sarnik
