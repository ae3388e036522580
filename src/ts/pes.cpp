#include "ts/pes.hpp"

namespace sarnik {

std::optional<PesHeader> parse_pes_header(const std::uint8_t* p, std::size_t n) {
  // packet_start_code_prefix, stream_id, PES_packet_length, then the flags
  // of an MPEG-2 PES header ('10' first) and PES_header_data_length.
  if (n < 9 || p[0] != 0 || p[1] != 0 || p[2] != 1 || (p[6] & 0xC0) != 0x80) return std::nullopt;
  const unsigned pts_dts_flags = p[7] >> 6;
  PesHeader header;
  header.payload_offset = 9 + std::size_t{p[8]};
  if (header.payload_offset > n) return std::nullopt;
  if (pts_dts_flags & 0x2) {
    if (p[8] < 5) return std::nullopt;
    // 3 + 15 + 15 bits, each followed by a marker bit.
    header.pts = (std::int64_t{(p[9] >> 1) & 0x7} << 30) | (std::int64_t{p[10]} << 22) |
                 (std::int64_t{p[11] >> 1} << 15) | (std::int64_t{p[12]} << 7) | (p[13] >> 1);
  }
  return header;
}

bool starts_random_access_picture(std::uint8_t stream_type, const std::uint8_t* p, std::size_t n) {
  for (std::size_t i = 0; i + 3 < n; ++i) {
    if (p[i] != 0 || p[i + 1] != 0 || p[i + 2] != 1) continue;
    const std::uint8_t code = p[i + 3];
    switch (stream_type) {
      case 0x01:
      case 0x02:
        if (code == 0xB3) return true;  // sequence_header_code
        break;
      case 0x1B:
        // nal_unit_type 5 (IDR) or 7 (sequence parameter set)
        if ((code & 0x80) == 0 && ((code & 0x1F) == 5 || (code & 0x1F) == 7)) return true;
        break;
      case 0x24:
        // nal_unit_type 16 to 21 (IRAP) or 32 to 34 (parameter sets)
        if ((code & 0x80) == 0 &&
            (((code >> 1) >= 16 && (code >> 1) <= 21) || ((code >> 1) >= 32 && (code >> 1) <= 34)))
          return true;
        break;
      default:
        return false;
    }
  }
  return false;
}

}  // namespace sarnik
