// Names in UTF-8 shown in CP932; frame tables that share pieces keep their entries (a piece
// freed too early is a use after free under ASan) and give them back.
#include <gtest/gtest.h>
#include <malloc.h>

#include "common/records.hpp"
#include "platform/names.hpp"
#include "support/support.hpp"

namespace sarnik {
namespace {

TEST(Names, Cp932FromUtf8) {
  // clang-format off
  const struct {
    const char *utf8, *expected;  // as UTF-8; "-": not UTF-8
  } cases[] = {
      {"ASCII \\ ~", "ASCII \\ ~"}, {"ニュース ｱｲ", "ニュース ｱｲ"}, {"ソ表能", "ソ表能"}, {"〜～−－—―", "?～?－?―"},
      {"♬♪é¿𠮷", "?♪???"}, {"∵纊①", "∵纊①"}, {"한", "?"},
      {"\xFF", "-"}, {"\xC0\x80", "-"}, {"\xC2", "-"}, {"\xE0\x9F\x80", "-"}, {"\xED\xA0\x80", "-"},
      {"\xE3\x81", "-"}, {"\xE3\x81\x41", "-"}, {"\xF0\x8F\x80\x80", "-"}, {"\xF4\x90\x80\x80", "-"},
      {"\xF0\x9F\x98\x41", "-"}, {"\xF5\x80\x80\x80", "-"}, {"\xF8\x80\x80\x80", "-"},
  };
  // clang-format on
  for (const auto& c : cases) {
    const std::optional<std::string> cp932 = platform::cp932_from_utf8(c.utf8);
    EXPECT_EQ(cp932.value_or("-"), c.expected == std::string("-") ? "-" : test::sjis(c.expected));
  }
}

TEST(TableMemory, TablesGrowingSideBySideOverSeveralPieces) {
  const auto in_use = [] { return mallinfo2().uordblks + mallinfo2().hblkhd; };
  constexpr std::uint32_t kEntries = 1u << 20;  // 4 MiB a table: pieces are 2 MiB
  const std::size_t before = in_use();
  for (int round = 0; round < 3; ++round) {
    Table<std::uint32_t> kept;
    {
      Table<std::uint32_t> freed;
      Table<FormatSegment> segments;
      for (std::uint32_t k = 0; k < kEntries; ++k) {
        kept.push_back(k);
        freed.push_back(~k);
        if (k % 4 == 0) segments.push_back(FormatSegment{k, 0, 1, 48000, 2});
      }
      EXPECT_EQ(freed[kEntries - 1], ~(kEntries - 1));
      EXPECT_EQ(segments.back().first_frame, kEntries - 4);
    }
    for (std::uint32_t k = 0; k < kEntries; ++k) kept.push_back(kEntries + k);
    for (std::uint32_t k = 0; k < 2 * kEntries; k += 4099) ASSERT_EQ(kept[k], k);
    EXPECT_EQ(kept.back(), 2 * kEntries - 1);
  }
  EXPECT_LE(in_use(), before + (8u << 20));  // the piece kept for reuse, and the heap's slack
}

}  // namespace
}  // namespace sarnik
