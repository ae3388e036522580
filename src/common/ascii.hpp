// Byte tests used on file names and Trim text: only 'A' to 'Z' are folded;
// every other byte, the bytes of Shift-JIS characters included, is unchanged.
#pragma once

namespace sarnik {

constexpr char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace sarnik
