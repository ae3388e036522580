#include "output/ahead_plan.hpp"

#include <utility>

namespace sarnik {

AheadPlanner::AheadPlanner(std::vector<CutRange> ranges, std::uint64_t max_job_bytes)
    : ranges_(std::move(ranges)), max_job_bytes_(max_job_bytes) {
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
    emit(true, jobs);
    in_range_ = false;
    ++range_;
    next_range();
  } else if (to_ - from_ >= max_job_bytes_) {
    emit(false, jobs);
  }
}

void AheadPlanner::end_input(std::vector<CopyJob>& jobs) {
  if (!stopped_ && block_open_) emit(true, jobs);
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

void AheadPlanner::emit(bool block_done, std::vector<CopyJob>& jobs) {
  CopyJob job{input_, from_, to_, std::nullopt};
  if (block_done) {
    job.completes = block_;
    block_open_ = false;
  }
  if (job.to > job.from || job.completes) jobs.push_back(job);
  from_ = to_;
}

}  // namespace sarnik
