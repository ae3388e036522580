// The tables' shared memory: tables that grow side by side over several
// pieces, one of them freed in the middle, keep every entry (under the
// address sanitizer a piece given back too early is a use after free), and
// what they held is given back once they are gone.
#include <gtest/gtest.h>
#include <malloc.h>

#include "common/records.hpp"

namespace sarnik {
namespace {

std::size_t bytes_in_use() {
  const struct mallinfo2 m = mallinfo2();
  return m.uordblks + m.hblkhd;
}

TEST(TableMemory, TablesGrowingSideBySideOverSeveralPieces) {
  constexpr std::uint32_t kEntries = 1u << 20;  // 4 MiB a table: pieces are 2 MiB
  const std::size_t before = bytes_in_use();
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
  EXPECT_LE(bytes_in_use(), before + (8u << 20));  // the piece kept for reuse, and the heap's slack
}

}  // namespace
}  // namespace sarnik
