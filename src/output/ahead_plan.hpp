// Turns the frames of a scan in progress into copies for the output, for
// ranges taken before the scan ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/records.hpp"
#include "output/copy_plan.hpp"

namespace sarnik {

// Bytes [from, to) of input `input`, to be appended to the output. The last
// copy of a block names the block, which is whole in the output once that
// copy is done.
struct CopyJob {
  std::size_t input = 0;
  std::uint64_t from = 0;
  std::uint64_t to = 0;
  std::optional<CopyBlock> completes;
  friend bool operator==(const CopyJob&, const CopyJob&) = default;
};

// Follows the frames of the inputs, one input after the other, and emits
// the copies of the ranges' frames as soon as they are known. Ranges are
// taken in list order; a range that starts at a frame already passed, or
// frames that are not back to back in their file, end the planning (the
// output step then copies the rest itself).
class AheadPlanner {
 public:
  // A copy that does not finish a block ends where the output reaches a
  // multiple of job_bytes, so that most copies are job_bytes long and
  // start and end on the same boundaries of the output file (the kernel
  // copies those faster: a full copy took about a tenth less time than
  // with copies that end between two frames). Such a copy may end inside
  // a frame; only whole blocks are ever kept.
  AheadPlanner(std::vector<CutRange> ranges, std::uint64_t job_bytes);

  void begin_input(std::size_t input);
  void frame(std::uint64_t position, std::uint32_t length, std::vector<CopyJob>& jobs);
  void end_input(std::vector<CopyJob>& jobs);
  void stop() { stopped_ = true; }
  bool stopped() const { return stopped_; }

 private:
  void next_range();
  void emit_block(std::vector<CopyJob>& jobs);
  void emit_piece(std::vector<CopyJob>& jobs);

  std::vector<CutRange> ranges_;
  std::uint64_t job_bytes_;
  std::size_t range_ = 0;      // the range being followed
  bool in_range_ = false;      // its first frame has been seen
  bool block_open_ = false;
  CopyBlock block_{};
  std::uint64_t from_ = 0;     // bytes of the open block not yet emitted
  std::uint64_t to_ = 0;
  std::uint64_t emitted_ = 0;  // output bytes emitted so far
  std::size_t input_ = 0;
  std::uint32_t local_ = 0;    // frames of this input seen
  std::int64_t global_ = 0;    // frames of all inputs seen
  bool stopped_ = false;
};

}  // namespace sarnik
