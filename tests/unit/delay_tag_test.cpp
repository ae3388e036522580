#include <gtest/gtest.h>

#include "driver/delay_tag.hpp"
#include "platform/names.hpp"

namespace sarnik {
namespace {

struct Case {
  const char* name;
  bool ok;
  std::int32_t delay;
  const char* output;
  Msg failure;
};

void expect_derivation(const Case& c, const Derivation& d) {
  EXPECT_EQ(d.ok, c.ok) << c.name;
  if (c.ok) {
    EXPECT_EQ(d.delay, c.delay) << c.name;
    EXPECT_EQ(d.output_name, c.output) << c.name;
  } else {
    EXPECT_EQ(d.failure, c.failure) << c.name;
  }
}

TEST(DelayTagAdd3, NamesAndResults) {
  const Case cases[] = {
      {"movie DELAY -23ms.aac", true, -23, "movie DELAY 0ms.aac", {}},
      {"take 12-34ms.aac", true, 34, "take 12-0ms.aac", {}},
      {"a 5ms b 7ms.aac", true, 7, "a 5ms b 0ms.aac", {}},
      {"dir 9ms/T1 DELAY 120MS.aac", true, 120, "dir 9ms/T1 DELAY 0ms.aac", {}},
      {"--5ms.aac", true, 5, "--0ms.aac", {}},
      {"x -2147483648ms.aac", true, -2147483647 - 1, "x 0ms.aac", {}},
      {"x 2147483647ms.aac", true, 2147483647, "x 0ms.aac", {}},
      {"x -ms.aac", false, 0, "", Msg::x_overwrite_stop},
      {"x 000ms.aac", false, 0, "", Msg::x_overwrite_stop},
      {"movie.aac", false, 0, "", Msg::x_tag_missing},
      {"5m5s.aac", false, 0, "", Msg::x_tag_missing},  // the 5 after 'm' starts nothing
      {"x 2147483648ms.aac", false, 0, "", Msg::x_tag_out_of_range},
      {"x -2147483649ms.aac", false, 0, "", Msg::x_tag_out_of_range},
      {"x 99999999999999999999999ms.aac", false, 0, "", Msg::x_tag_out_of_range},
      // An overlong number that is not a tag does not matter.
      {"99999999999999999999 -5ms.aac", true, -5, "99999999999999999999 0ms.aac", {}},
  };
  for (const Case& c : cases) expect_derivation(c, derive_add3(c.name));
}

TEST(DelayTagAdd3, DerivedNameLimit) {
  // 259 bytes fit the buffer, 260 do not.
  const std::string fits = std::string(259 - 3 - 4, 'a') + "5ms.aac";
  const std::string too_long = std::string(260 - 3 - 4, 'a') + "5ms.aac";
  EXPECT_TRUE(derive_add3(fits).ok);
  EXPECT_EQ(derive_add3(fits).output_name.size(), 259u);
  EXPECT_FALSE(derive_add3(too_long).ok);
  EXPECT_EQ(derive_add3(too_long).failure, Msg::derived_name_too_long);
}

TEST(DelayTagAdd2, NamesAndResults) {
  const Case cases[] = {
      {"T1 DELAY -57ms.aac", true, -57, "T1 DELAY 0ms.aac", {}},
      {"DELAY-57ms.aac", true, 57, "DELAY-0ms.aac", {}},
      {"T1 DELAY +12ms.aac", true, 12, "T1 DELAY 0ms.aac", {}},
      {"Delay 5ms.aac", true, 5, "Delay 0ms.aac", {}},
      {"xDELAY 5 ms.aac", true, 5, "xDELAY 0ms.aac", {}},
      {"DELAY -0ms.aac", true, 0, "DELAY 0ms.aac", {}},
      {"day1 delay 120ms.aac", true, 0, "day10ms.aac", {}},
      {"Music/T1 DELAY -57ms.aac", true, 0, "Music/T1 DELAY 0mssic/T1 DELAY -57ms.aac", {}},
      // No character after the 'm', or no 'm' at all: the name has no rest.
      {"DELAY 5m", true, 5, "DELAY 0ms", {}},
      {"DELAY 5", true, 5, "DELAY 0ms", {}},
      {"Y", true, 0, "Y0ms", {}},
      // The delay text holds 14 characters; the rest is cut.
      {"DELAY 00000000000000123ms.aac", true, 0, "DELAY 0ms.aac", {}},
      {"DELAY 2147483648ms.aac", false, 0, "", Msg::x_tag_out_of_range},
      {"movie.aac", false, 0, "", Msg::x_tag_missing},
  };
  for (const Case& c : cases) expect_derivation(c, derive_add2(c.name, &platform::str_cspn_ia));
}

TEST(StrCSpnIA, StandIn) {
  EXPECT_EQ(platform::str_cspn_ia("abcY", "y"), 3u);
  EXPECT_EQ(platform::str_cspn_ia("abcy", "Y"), 3u);
  EXPECT_EQ(platform::str_cspn_ia("abc", "Y"), 3u);
  EXPECT_EQ(platform::str_cspn_ia("", "M"), 0u);
  EXPECT_EQ(platform::str_cspn_ia("xmM", "M"), 1u);
}

}  // namespace
}  // namespace sarnik
