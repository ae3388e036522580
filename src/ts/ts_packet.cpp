#include "ts/ts_packet.hpp"

namespace sarnik {

bool parse_ts_packet(const std::uint8_t* p, TsPacket& out) {
  out = TsPacket{};
  out.transport_error = (p[1] & 0x80) != 0;     // transport_error_indicator
  out.payload_unit_start = (p[1] & 0x40) != 0;  // payload_unit_start_indicator
  out.pid = static_cast<std::uint16_t>(((p[1] & 0x1F) << 8) | p[2]);  // PID
  const unsigned adaptation_field_control =
      (p[3] >> 4) & 0x3;                 // after transport_scrambling_control
  out.continuity_counter = p[3] & 0x0F;  // continuity_counter
  std::size_t at = 4;
  if (adaptation_field_control & 0x2) {
    const std::size_t length = p[4];  // adaptation_field_length
    if (at + 1 + length > kTsPacketSize) return false;
    if (length > 0) {
      out.discontinuity = (p[5] & 0x80) != 0;
      out.random_access = (p[5] & 0x40) != 0;
    }
    at += 1 + length;
  }
  out.has_payload = (adaptation_field_control & 0x1) != 0 && at < kTsPacketSize;
  if (out.has_payload) {
    out.payload = p + at;
    out.payload_size = kTsPacketSize - at;
  }
  return true;
}

}  // namespace sarnik
