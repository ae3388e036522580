// Where each frame of an audio stream belongs on the recording's clock, and
// how many silent frames a gap before it needs.
#pragma once

#include <cstdint>
#include <optional>

namespace sarnik {

inline constexpr std::int64_t kSamplesPerFrame = 1024;
// A gap longer than this is not filled: the run stops instead.
inline constexpr std::int64_t kMaxFillSeconds = 10;

struct Placement {
  std::uint32_t silent_frames = 0;  // to put before the frame
  std::int64_t gap_start = 0;       // where they start, in clock ticks on the stream's own clock
};

// The frames of one stream, in order. The stream's clock is its PTS values
// unwrapped (counted on past the 33-bit wrap). A frame's place is that of
// the frame before plus its samples; a PTS more than half a frame later
// than that place shows a gap, filled with the frames that bring the frame
// to within half a frame of its PTS; a PTS earlier than that place, or one
// after a discontinuity, sets the clock anew without filling.
class Timeline {
 public:
  explicit Timeline(std::uint32_t sampling_rate) : rate_(sampling_rate) {}

  // The frame of samples samples, with its PTS if it has one (the first
  // frame always has). Stops through the error exit for a gap of more than
  // kMaxFillSeconds.
  Placement place(std::optional<std::int64_t> pts, bool clock_jump, std::int64_t samples);

  // The PTS unwrapped on this stream's clock (its first PTS unwrapped is
  // itself).
  std::int64_t unwrap(std::int64_t pts);

 private:
  std::int64_t rate_;
  bool started_ = false;
  std::int64_t last_ = 0;     // the last PTS unwrapped
  std::int64_t anchor_ = 0;   // the PTS unwrapped that the places count from
  std::int64_t samples_ = 0;  // samples placed since the anchor
};

}  // namespace sarnik
