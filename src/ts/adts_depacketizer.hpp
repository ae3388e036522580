// The ADTS frames of one audio stream, taken whole out of its PES packets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "ts/ts_packet.hpp"

namespace sarnik {

struct AudioFrame {
  const std::uint8_t* data = nullptr;  // the frame, header first
  std::size_t size = 0;
  // The PTS of the PES packet in which the frame starts, for the first frame
  // that starts in it.
  std::optional<std::int64_t> pts;
  // The stream's clock was set anew (a discontinuity indicator) since the
  // frame before.
  bool clock_jump = false;
};

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  virtual void frame(const AudioFrame& frame) = 0;
};

// Where the continuity counters show a lost packet, or a PES header or a
// frame header is not where it must be, the frame in hand is dropped and
// so is everything up to the next PES packet with a PTS; the frames before
// are handed on whole, the frames after with their time.
class AdtsDepacketizer {
 public:
  AdtsDepacketizer();
  // The frames that the packet completes, in order, to sink.
  void add(const TsPacket& packet, FrameSink& sink);
  // The programme's clock was set anew (a discontinuity indicator on the
  // packets that carry it): the next PTS starts the stream's clock anew.
  void clock_set_anew() { clock_jump_ = true; }

 private:
  void lose();
  void take_frames(FrameSink& sink);

  int continuity_ = -1;
  bool synced_ = false;                // at a frame of a PES packet with a PTS, or after one
  std::vector<std::uint8_t> pending_;  // the bytes after the last frame handed on
  std::size_t carried_ = 0;            // bytes of pending_ from PES packets before the current one
  std::optional<std::int64_t> pts_;    // for the first frame that starts in the current PES packet
  bool clock_jump_ = false;
};

}  // namespace sarnik
