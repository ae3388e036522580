#include "ts/adts_depacketizer.hpp"

#include <algorithm>
#include <utility>

#include "adts/adts_header.hpp"
#include "ts/pes.hpp"

namespace sarnik {

// The longest frame and a packet's payload: pending_ never holds more.
AdtsDepacketizer::AdtsDepacketizer() { pending_.reserve(8192 + kTsPacketSize); }

void AdtsDepacketizer::lose() {
  pending_.clear();
  carried_ = 0;
  pts_.reset();
  synced_ = false;
}

void AdtsDepacketizer::add(const TsPacket& packet, FrameSink& sink) {
  if (packet.discontinuity) {
    // The clock and the counters start anew here; no packet was lost.
    clock_jump_ = true;
  } else if (packet.has_payload && continuity_ >= 0) {
    if (packet.continuity_counter == continuity_) return;  // a packet sent twice
    if (packet.continuity_counter != ((continuity_ + 1) & 0xF)) lose();
  }
  if (!packet.has_payload) return;  // the counter does not move
  continuity_ = packet.continuity_counter;

  const std::uint8_t* p = packet.payload;
  std::size_t n = packet.payload_size;
  if (packet.payload_unit_start) {
    const std::optional<PesHeader> header = parse_pes_header(p, n);
    if (!header) return lose();
    if (!synced_) {
      if (!header->pts) return;
      synced_ = true;
    }
    pts_ = header->pts;
    carried_ = pending_.size();
    p += header->payload_offset;
    n -= header->payload_offset;
  } else if (!synced_) {
    return;
  }
  pending_.insert(pending_.end(), p, p + n);
  take_frames(sink);
}

void AdtsDepacketizer::take_frames(FrameSink& sink) {
  std::size_t at = 0;
  while (pending_.size() - at >= kAdtsHeaderSize) {
    const std::uint8_t* h = pending_.data() + at;
    if (!is_adts_header(h)) return lose();
    const std::size_t size = adts_frame_length(h);
    if (pending_.size() - at < size) break;
    AudioFrame frame{h, size, std::nullopt, clock_jump_};
    if (carried_ == 0) frame.pts = std::exchange(pts_, std::nullopt);
    carried_ = carried_ > size ? carried_ - size : 0;
    clock_jump_ = false;
    sink.frame(frame);
    at += size;
  }
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace sarnik
