// Reads a recording (TS of 188-byte packets or M2TS of 192) front to back
// in large blocks and hands on its packets one at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ts/ts_packet.hpp"

namespace sarnik {

// Where the recording's bytes come from: a file, or memory in tests.
class TsInput {
 public:
  virtual ~TsInput() = default;
  // Up to n bytes at the current position; got < n only at the end. False
  // on a read error.
  virtual bool read(std::uint8_t* buffer, std::size_t n, std::size_t& got) = 0;
  // Back to the first byte; false on an error.
  virtual bool rewind() = 0;
};

// Blocks are whole packets of either size: a multiple of both.
inline constexpr std::size_t kTsBlockUnit = kTsPacketSize * kM2tsPacketSize;
// About 140 KiB: few reads, and small enough that the bytes read are still
// in the processor's cache when the packets are looked at.
inline constexpr std::size_t kTsBlockSize = kTsBlockUnit * 4;

class TsReader {
 public:
  explicit TsReader(TsInput& input, std::size_t block_size = kTsBlockSize);

  // The next packet; false at the end of the recording. Stops through the
  // error exit when the recording does not begin with TS or M2TS packets,
  // and when a read fails. A packet is taken only where the next one
  // follows it: other bytes (a packet that lost its sync byte, junk) are
  // passed over; the continuity counters show what was lost.
  bool next(TsPacket& packet);
  // The same for a caller that looks at few of the packets: the next
  // packet's 188 bytes (from its sync byte), valid until the next call;
  // nullptr at the end.
  const std::uint8_t* next_bytes();

 private:
  bool fill();
  bool sync_at(std::size_t at) const;
  void detect_packet_size();

  TsInput& input_;
  std::vector<std::uint8_t> buffer_;
  std::size_t at_ = 0;    // the next packet in buffer_
  std::size_t held_ = 0;  // bytes in buffer_
  bool ended_ = false;    // the input has no more bytes
  std::size_t stride_ = 0;
  std::size_t prefix_ = 0;  // bytes before each packet's sync byte
};

}  // namespace sarnik
