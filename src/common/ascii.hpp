// Byte tests and decimal digits, used on file names, options and Trim text:
// only 'A' to 'Z' are folded; every other byte, the bytes of Shift-JIS
// characters included, is unchanged.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sarnik {

constexpr char ascii_lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Magnitudes stop growing one past the largest negative 32-bit value: any
// run of digits, however long, is read without overflow, and a parser can
// still tell every value that fits 32 bits from one that does not.
inline constexpr std::int64_t kDigitsCap = (std::int64_t{1} << 31) + 1;

struct Digits {
  std::int64_t magnitude = 0;  // at most kDigitsCap
  std::size_t end = 0;         // the position after the last digit
};

// The run of decimal digits in text from position from on (none when the
// byte there is no digit). Each parser applies its own limits to it.
constexpr Digits read_digits(std::string_view text, std::size_t from) {
  Digits d{0, from};
  for (; d.end < text.size() && is_digit(text[d.end]); ++d.end) {
    d.magnitude = std::min(d.magnitude * 10 + (text[d.end] - '0'), kDigitsCap);
  }
  return d;
}

}  // namespace sarnik
