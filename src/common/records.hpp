// The records that the scanner, the report, the cut list and the output share.
#pragma once

#include <cstdint>
#include <vector>

#include "common/table_memory.hpp"

namespace sarnik {

// A run of consecutive frames of one input with the same channel
// configuration. The other fields are those of the run's first frame.
// Eight bytes: a stream may start a segment at every frame.
struct FormatSegment {
  std::uint32_t first_frame = 0;         // index within the input
  std::uint32_t mpeg_id : 1 = 0;         // 0 = MPEG-4, 1 = MPEG-2
  std::uint32_t profile : 2 = 0;         // 0 = Main, 1 = LC, 2 = SSR, 3 = reserved
  std::uint32_t sampling_rate : 17 = 0;  // Hz (at most 96000); 0 for the reserved indices
  std::uint32_t channel_config : 3 = 0;  // 0 to 7
};
static_assert(sizeof(FormatSegment) == 8);

// One input file after its scan. The frames themselves stay in the file:
// the output step copies them from there. The tables grow in small pieces,
// never to twice what they hold, so that they take little more than their
// entries (16 bytes a frame at most), and share their memory (see Table).
struct AdtsInput {
  // The size of the input file in bytes.
  std::uint32_t file_size = 0;
  // Entry k is the length of frames 0 to k-1 together (the skipped bytes
  // left out); entry frame_count is the length of all frames. Holds
  // frame_count + 1 entries after a scan. For an input scanned without
  // skipped bytes (the only kind that is edited) the frames are the file's
  // first bytes, so the entries are the frames' file positions.
  Table<std::uint32_t> frame_offsets;
  std::uint32_t frame_count = 0;
  // At least one segment after a scan, in increasing order of first_frame.
  Table<FormatSegment> segments;
  // The frames whose raw data opens with a program config element (see
  // adts/program_config.hpp), in increasing order.
  Table<std::uint32_t> pce_frames;
  // Whether every frame is AAC LC at 48000 Hz with one raw data block.
  bool every_frame_editable = true;
  // Whether the file ends inside its last frame (a recording stopped
  // mid-frame), which then holds fewer bytes than its header says.
  bool last_frame_cut_short = false;
};

// One output range in stream frame numbers (the frames of all inputs joined
// in command-line order). end is exclusive. start == -1 means no output.
struct CutRange {
  std::int32_t start = 0;
  std::int32_t end = 0;
};

inline constexpr std::int32_t kNoOutput = -1;

}  // namespace sarnik
