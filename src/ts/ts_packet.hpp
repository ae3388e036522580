// One transport stream packet: the fields of its header and adaptation
// field that the demultiplexer uses, read in bitstream order.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sarnik {

inline constexpr std::size_t kTsPacketSize = 188;
// An M2TS packet is a TS packet after a 4-byte arrival time stamp.
inline constexpr std::size_t kM2tsPacketSize = 192;
inline constexpr std::uint8_t kTsSyncByte = 0x47;

struct TsPacket {
  std::uint16_t pid = 0;
  bool transport_error = false;
  bool payload_unit_start = false;
  std::uint8_t continuity_counter = 0;
  bool has_payload = false;
  bool discontinuity = false;  // the adaptation field's discontinuity_indicator
  bool random_access = false;  // its random_access_indicator
  const std::uint8_t* payload = nullptr;
  std::size_t payload_size = 0;
};

// The packet of 188 bytes at p, whose first byte is the sync byte. False
// when its adaptation field does not fit in the packet.
bool parse_ts_packet(const std::uint8_t* p, TsPacket& out);

}  // namespace sarnik
