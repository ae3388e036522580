#include "output/ahead_plan.hpp"

#include <utility>

namespace sarnik {

AheadPlanner::AheadPlanner(std::vector<CutRange> ranges, std::uint64_t job_bytes)
    : ranges_(std::move(ranges)), job_bytes_(job_bytes > 0 ? job_bytes : 1) {
  next_range();
}

void AheadPlanner::begin_input(std::size_t input) {
  input_ = input;
  local_ = 0;
}

void AheadPlanner::frame(std::uint64_t position, std::uint32_t length, std::vector<CopyJob>& jobs) {
  const std::int64_t g = global_++;
  const std::uint32_t k = local_++;
  if (stopped_ || range_ >= ranges_.size()) return;
  if (!in_range_) {
    if (g != ranges_[range_].start) return;
    in_range_ = true;
  }
  if (!block_open_) {
    block_ = CopyBlock{input_, k, k};
    from_ = to_ = position;
    block_open_ = true;
  }
  if (position != to_) {
    stopped_ = true;
    return;
  }
  to_ += length;
  block_.end = k + 1;
  if (g + 1 == ranges_[range_].end) {
    emit_block(jobs);
    in_range_ = false;
    ++range_;
    next_range();
  } else {
    emit_piece(jobs);
  }
}

void AheadPlanner::end_input(std::vector<CopyJob>& jobs) {
  if (!stopped_ && block_open_) emit_block(jobs);
}

// Passes over the ranges that give no frames; stops at one that starts at a
// frame already passed, since the frames come only once.
void AheadPlanner::next_range() {
  while (range_ < ranges_.size()) {
    const CutRange& range = ranges_[range_];
    if (range.start < 0 || range.end <= range.start) {
      ++range_;
      continue;
    }
    if (range.start < global_) stopped_ = true;
    return;
  }
}

// The rest of the open block, which is whole once this copy is done.
void AheadPlanner::emit_block(std::vector<CopyJob>& jobs) {
  jobs.push_back(CopyJob{input_, from_, to_, block_});
  emitted_ += to_ - from_;
  from_ = to_;
  block_open_ = false;
}

// The block's bytes up to the last multiple of job_bytes of the output
// that they reach, when they reach one not yet passed.
void AheadPlanner::emit_piece(std::vector<CopyJob>& jobs) {
  const std::uint64_t boundary = (emitted_ + (to_ - from_)) / job_bytes_ * job_bytes_;
  if (boundary <= emitted_) return;
  const std::uint64_t end = from_ + (boundary - emitted_);
  jobs.push_back(CopyJob{input_, from_, end, std::nullopt});
  emitted_ = boundary;
  from_ = end;
}

}  // namespace sarnik
