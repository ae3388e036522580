#include "ts/ts_reader.hpp"

#include <cstring>

#include "common/fail.hpp"

namespace sarnik {

TsReader::TsReader(TsInput& input, std::size_t block_size) : input_(input), buffer_(block_size) {
  if (!fill()) fail_and_exit(Msg::ts_read_failed);
  detect_packet_size();
}

// The first packet must stand at the first byte, followed by another (or by
// the end of the recording): 188-byte packets, else 192-byte ones.
void TsReader::detect_packet_size() {
  for (const std::size_t stride : {kTsPacketSize, kM2tsPacketSize}) {
    stride_ = stride;
    prefix_ = stride - kTsPacketSize;
    if (held_ >= stride && sync_at(0) && (held_ < 2 * stride || sync_at(stride))) return;
  }
  fail_and_exit(Msg::not_ts);
}

bool TsReader::sync_at(std::size_t at) const { return buffer_[at + prefix_] == kTsSyncByte; }

// Moves what is left of the block to its front and reads on after it.
bool TsReader::fill() {
  std::memmove(buffer_.data(), buffer_.data() + at_, held_ - at_);
  held_ -= at_;
  at_ = 0;
  while (!ended_ && held_ < buffer_.size()) {
    std::size_t got = 0;
    if (!input_.read(buffer_.data() + held_, buffer_.size() - held_, got)) return false;
    held_ += got;
    if (got == 0) ended_ = true;
  }
  return true;
}

bool TsReader::next(TsPacket& packet) {
  while (const std::uint8_t* p = next_bytes()) {
    if (parse_ts_packet(p, packet)) return true;
  }
  return false;
}

const std::uint8_t* TsReader::next_bytes() {
  for (;;) {
    const std::size_t left = held_ - at_;
    if (left < 2 * stride_ && !ended_) {
      if (!fill()) fail_and_exit(Msg::ts_read_failed);
      continue;
    }
    if (left < stride_) return nullptr;  // the bytes after the last whole packet
    // A packet is taken where its sync byte is and the next packet's follows
    // (or the recording ends); elsewhere the search moves on by a byte.
    if (!sync_at(at_) || (left >= 2 * stride_ && !sync_at(at_ + stride_))) {
      ++at_;
      continue;
    }
    const std::uint8_t* p = buffer_.data() + at_ + prefix_;
    at_ += stride_;
    return p;
  }
}

}  // namespace sarnik
