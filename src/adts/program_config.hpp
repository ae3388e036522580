// The program config element (PCE) of AAC raw data: where a frame's header
// says channel configuration 0 (dual mono, for one), the only description of
// its channels. Broadcasts send one now and then, as the first element of a
// frame's raw data; a decoder cannot place the channels of any frame before
// it has seen one.
#pragma once

#include <cstddef>
#include <cstdint>

#include "adts/adts_header.hpp"

namespace sarnik {

// id_syn_ele of a program config element.
inline constexpr std::uint32_t kPceElementId = 5;

// Whether the frame at h, of length bytes, has no CRC and its raw data opens
// with a PCE (the 3-bit element id of h[7]). Reads h[0..7] when length
// is above the header's size.
constexpr bool opens_with_pce(const std::uint8_t* h, std::uint32_t length) {
  return length > kAdtsHeaderSize && adts_protection_absent(h) == 1 &&
         (h[kAdtsHeaderSize] >> 5) == kPceElementId;
}

// The bytes of the PCE that opens the size bytes of raw data at raw, from
// its element id to the end of its comment field, which ends on a byte
// boundary; 0 when raw does not open with a PCE that ends within size.
std::uint32_t program_config_length(const std::uint8_t* raw, std::size_t size);

}  // namespace sarnik
