#pragma once

#include <cstdint>

namespace sarnik {

// The bit field of width bits that starts at bit first (bit 0 is the most
// significant bit of p[0]) of the four bytes p[0..3] read big-endian.
// first + width must not exceed 32.
constexpr std::uint32_t read_bits(const std::uint8_t* p, unsigned first, unsigned width) {
  const std::uint32_t word = (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
                             (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
  const std::uint32_t mask = width >= 32 ? ~std::uint32_t{0} : (std::uint32_t{1} << width) - 1;
  return (word >> (32 - first - width)) & mask;
}

}  // namespace sarnik
