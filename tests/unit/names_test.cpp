// Names in UTF-8 shown in CP932, by the table made with iconv; '?' for what CP932 lacks.
#include "platform/names.hpp"

#include <gtest/gtest.h>

#include "support/support.hpp"

namespace sarnik {
namespace {

TEST(Names, Cp932FromUtf8) {
  const struct {
    const char *utf8, *expected;  // as UTF-8; "-": not UTF-8
  } cases[] = {
      {"ASCII \\ ~", "ASCII \\ ~"},
      {"ニュース ｱｲ", "ニュース ｱｲ"},
      {"ソ表能", "ソ表能"},
      {"〜～−－—―", "?～?－?―"},
      {"♬♪é¿𠮷", "?♪???"},
      {"∵纊①", "∵纊①"},
      {"한", "?"},
      {"\xC0\x80", "-"},
      {"\xC2", "-"},
      {"\xE0\x9F\x80", "-"},
      {"\xED\xA0\x80", "-"},
      {"\xE3\x81\x41", "-"},
      {"\xF0\x8F\x80\x80", "-"},
      {"\xF4\x90\x80\x80", "-"},
      {"\xF0\x9F\x98\x41", "-"},
      {"\xF5\x80\x80\x80", "-"},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> cp932 = platform::cp932_from_utf8(c.utf8);
    EXPECT_EQ(cp932.value_or("-"), c.expected == std::string("-") ? "-" : test::sjis(c.expected));
  }
}

}  // namespace
}  // namespace sarnik
