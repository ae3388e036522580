// The tables' shared memory: tables that grow side by side over several
// pieces, one of them freed in the middle, keep every entry (run under the
// address sanitizer, a piece given back too early is a use after free).
#include <gtest/gtest.h>

#include "common/records.hpp"

namespace sarnik {
namespace {

TEST(TableMemory, TablesGrowingSideBySideOverSeveralPieces) {
  constexpr std::uint32_t kEntries = 1u << 20;  // 4 MiB a table: pieces are 2 MiB
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

}  // namespace
}  // namespace sarnik
