#include <gtest/gtest.h>

#include <vector>

#include "common/fail.hpp"
#include "driver/command_line.hpp"
#include "support/captured_console.hpp"

namespace sarnik {
namespace {

struct Parsed {
  ParseResult status = ParseResult::invalid;
  RunSettings settings;
};

Parsed parse(std::vector<const char*> args) {
  args.insert(args.begin(), "sarnik");
  Parsed p;
  test::CapturedConsole captured;
  p.status = parse_command_line(p.settings, static_cast<int>(args.size()), args.data(),
                                Revision{}, captured.console);
  return p;
}

TEST(CommandLine, DelayValueCheck) {
  struct {
    const char* value;
    bool valid;
  } cases[] = {{"1234567", true}, {"12345678", false}, {"-123456", true}, {"-1234567", false},
               {"+123456", true}, {"-", true},        {"+", true},        {"", true},
               {"1.5", false},    {"1e3", false},     {"--1", false},     {" 1", false}};
  for (const auto& c : cases) EXPECT_EQ(is_valid_delay_value(c.value), c.valid) << c.value;
}

TEST(CommandLine, ValuesAndDefaults) {
  const Parsed p = parse({"a.aac", "-o", "out.aac", "b.aac", "-T", "Trim(0,9)", "-d", "-120",
                          "-f", "59.940", "-A"});
  ASSERT_EQ(p.status, ParseResult::usable);
  EXPECT_EQ(p.settings.input_names, (std::vector<std::string>{"a.aac", "b.aac"}));
  EXPECT_EQ(*p.settings.output_name, "out.aac");
  EXPECT_EQ(*p.settings.trim_argument, "Trim(0,9)");
  EXPECT_EQ(p.settings.delay, -120);
  EXPECT_EQ(p.settings.frame_rate, 59940);
  EXPECT_TRUE(p.settings.direct_frames);

  const Parsed d = parse({"a.aac"});
  EXPECT_EQ(d.settings.frame_rate, 29970);
  EXPECT_EQ(d.settings.delay, 0);
  EXPECT_FALSE(d.settings.output_name);
  EXPECT_FALSE(d.settings.direct_frames);
}

TEST(CommandLine, DelayConversion) {
  EXPECT_EQ(parse({"-d", "+5", "a"}).settings.delay, 5);
  EXPECT_EQ(parse({"-d", "-0", "a"}).settings.delay, 0);
  EXPECT_EQ(parse({"-d", "-", "a"}).settings.delay, 0);
  EXPECT_EQ(parse({"-d", "9999999", "a"}).settings.delay, 9999999);
  // Repeated -d and -f: the last one counts.
  const Parsed p = parse({"-d", "5", "-d", "7", "-f", "59.94", "-f", "29.97", "a"});
  EXPECT_EQ(p.settings.delay, 7);
  EXPECT_EQ(p.settings.frame_rate, 29970);
}

TEST(CommandLine, InvalidCommandLines) {
  const std::vector<std::vector<const char*>> invalid = {
      {"-o", "x", "-o", "y", "a"}, {"-t", "x", "-t", "y", "a"}, {"a", "-o"},
      {"a", "-t"},                 {"a", "-d"},                 {"a", "-f"},
      {"-d", "12345678", "a"},     {"-f", "30", "a"},           {"-f", "29.9", "a"},
      {"-", "a"},                  {"-q", "a"},                 {"-o", "out.aac"},
      {"-a", "-x"}};
  for (const auto& args : invalid) EXPECT_EQ(parse(args).status, ParseResult::invalid) << args[0];
  // An option's value is never taken as an option or an input.
  EXPECT_EQ(parse({"-o", "-a"}).status, ParseResult::invalid);
  EXPECT_EQ(*parse({"-o", "-a", "in"}).settings.output_name, "-a");
}

TEST(CommandLine, InputLimit) {
  std::vector<const char*> sixteen(16, "in.aac");
  EXPECT_EQ(parse(sixteen).status, ParseResult::usable);
  EXPECT_EQ(parse(sixteen).settings.input_count(), 16);
  std::vector<const char*> seventeen(17, "in.aac");
  try {
    parse(seventeen);
    FAIL() << "a 17th input was accepted";
  } catch (const FatalError& e) {
    EXPECT_TRUE(e.with_usage);
  }
}

TEST(CommandLine, HelpEndsTheWalk) {
  EXPECT_EQ(parse({"a", "-h", "-q"}).status, ParseResult::usage_shown);
  EXPECT_EQ(parse({"-?"}).status, ParseResult::usage_shown);
  EXPECT_EQ(parse({}).status, ParseResult::usage_shown);
  // An invalid option before it ends the walk first.
  EXPECT_EQ(parse({"-q", "-h"}).status, ParseResult::invalid);
}

TEST(CommandLine, DeriveReplacesOutputAndDelay) {
  const Parsed p = parse({"-o", "x.aac", "-d", "5", "-x", "in -40ms.aac", "other 7ms.aac"});
  ASSERT_EQ(p.status, ParseResult::usable);
  EXPECT_EQ(*p.settings.output_name, "in 0ms.aac");
  EXPECT_EQ(p.settings.delay, -40);
}

}  // namespace
}  // namespace sarnik
