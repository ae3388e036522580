// Which frames of which inputs one output range takes.
#pragma once

#include <cstdint>
#include <vector>

#include "common/records.hpp"

namespace sarnik {

// Frames [first, end) of input `input`, local frame numbers.
struct CopyBlock {
  std::size_t input = 0;
  std::uint32_t first = 0;
  std::uint32_t end = 0;
  friend bool operator==(const CopyBlock&, const CopyBlock&) = default;
};

// The blocks of range [start, end) of the joined stream, one per input it
// touches, in input order. A range cut by the end of the stream keeps the
// frames up to there; a range that starts at or beyond it, that produces no
// output or that does not end after its start, has no block.
std::vector<CopyBlock> plan_range(const std::vector<std::uint32_t>& frame_counts, CutRange range);

// Whether the ranges would put the last frame of an input marked in
// cut_short (a frame that its file cuts short) before another frame of the
// output, where the stream would break.
bool cut_frame_inside(const std::vector<std::uint32_t>& frame_counts,
                      const std::vector<bool>& cut_short, const std::vector<CutRange>& ranges);

}  // namespace sarnik
