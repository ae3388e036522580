#include <gtest/gtest.h>

#include <vector>

#include "common/fail.hpp"
#include "driver/command_line.hpp"

namespace sarnik {
namespace {

struct Parsed {
  std::int32_t status = -1;
  RunSettings settings;
};

Parsed parse(std::vector<const char*> args) {
  args.insert(args.begin(), "sarnik");
  Parsed p;
  Console console = Console::capturing();
  p.status = parse_command_line(p.settings, static_cast<int>(args.size()), args.data(),
                                Revision{}, console);
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
  ASSERT_EQ(p.status, 1);
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
  for (const auto& args : invalid) EXPECT_EQ(parse(args).status, 0) << args[0];
  // An option's value is never taken as an option or an input.
  EXPECT_EQ(parse({"-o", "-a"}).status, 0);
  EXPECT_EQ(*parse({"-o", "-a", "in"}).settings.output_name, "-a");
}

TEST(CommandLine, InputLimit) {
  std::vector<const char*> sixteen(16, "in.aac");
  EXPECT_EQ(parse(sixteen).status, 1);
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
  EXPECT_THROW(parse({"a", "-h", "-q"}), UsageShown);
  EXPECT_THROW(parse({"-?"}), UsageShown);
  EXPECT_THROW(parse({}), UsageShown);
  // An invalid option before it ends the walk first.
  EXPECT_EQ(parse({"-q", "-h"}).status, 0);
}

TEST(CommandLine, DeriveReplacesOutputAndDelay) {
  const Parsed p = parse({"-o", "x.aac", "-d", "5", "-x", "in -40ms.aac", "other 7ms.aac"});
  ASSERT_EQ(p.status, 1);
  EXPECT_EQ(*p.settings.output_name, "in 0ms.aac");
  EXPECT_EQ(p.settings.delay, -40);
}

}  // namespace
}  // namespace sarnik
