#include "output/copy_ahead.hpp"

#include <new>
#include <utility>

namespace sarnik {
namespace {

// Small enough for the copy to start soon after the scan, large enough for
// few system calls; copies end on multiples of it in the output.
constexpr std::uint64_t kJobBytes = 8 << 20;
// The scan waits while this much is queued and not yet copied, so that it
// stays just ahead of the copy, which then reads bytes the scan read a
// moment before.
constexpr std::uint64_t kQueueLimit = 4 * kJobBytes;

}  // namespace

CopyAhead::CopyAhead(std::vector<CutRange> ranges, const std::vector<std::string>& names,
                     platform::File& output)
    : planner_(std::move(ranges), kJobBytes), names_(names), output_(output) {
  worker_ = std::thread([this] { work(); });
}

CopyAhead::~CopyAhead() {
  stop_worker(false);
  if (!handed_over_) output_.truncate(0);
}

void CopyAhead::begin_input(std::size_t input) { planner_.begin_input(input); }

// Short of memory for the bookkeeping, the copying ahead just stops: the
// output step copies the rest.
void CopyAhead::end_input() {
  try {
    planner_.end_input(ready_);
    push(ready_);
  } catch (const std::bad_alloc&) {
    planner_.stop();
  }
}

void CopyAhead::frame(std::uint64_t position, std::uint32_t length) {
  if (planner_.stopped()) return;
  try {
    planner_.frame(position, length, ready_);
    if (!ready_.empty()) push(ready_);
  } catch (const std::bad_alloc&) {
    planner_.stop();
  }
}

void CopyAhead::abandon() {
  planner_.stop();
  stop_worker(false);
  output_.truncate(0);
  handed_over_ = true;
}

std::vector<CopyBlock> CopyAhead::finish() {
  planner_.stop();
  stop_worker(true);
  handed_over_ = true;
  return std::move(done_);
}

void CopyAhead::push(std::vector<CopyJob>& jobs) {
  std::unique_lock<std::mutex> lock(mutex_);
  progress_.wait(lock, [this] { return worker_done_ || queued_bytes_ < kQueueLimit; });
  if (worker_done_) {
    planner_.stop();
  } else {
    queue_.insert(queue_.end(), jobs.begin(), jobs.end());
    for (const CopyJob& job : jobs) queued_bytes_ += job.to - job.from;
  }
  lock.unlock();
  jobs.clear();
  wake_.notify_one();
}

void CopyAhead::stop_worker(bool drain) {
  if (!worker_.joinable()) return;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
    if (!drain) cancelled_ = true;
  }
  wake_.notify_one();
  worker_.join();
}

// The copying thread: takes the copies in order and appends them to the
// output. At the first failure it stops; the output step then meets the
// failure again, or not, when it copies the rest itself.
void CopyAhead::work() {
  std::vector<platform::File> files(names_.size());
  struct Done {
    CopyAhead& ahead;
    ~Done() {
      {
        const std::lock_guard<std::mutex> lock(ahead.mutex_);
        ahead.worker_done_ = true;
      }
      ahead.progress_.notify_all();
    }
  } done{*this};
  for (;;) {
    CopyJob job;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this] { return cancelled_ || closing_ || !queue_.empty(); });
      if (cancelled_ || queue_.empty()) return;
      job = queue_.front();
      queue_.pop_front();
    }
    platform::File& file = files[job.input];
    const bool copied =
        (file.is_open() || file.open_read(names_[job.input].c_str())) &&
        platform::copy_range(file, job.from, job.to - job.from, output_) == platform::CopyStatus::done;
    bool stored = copied;
    if (copied && job.completes) {
      try {
        done_.push_back(*job.completes);
      } catch (...) {
        stored = false;
      }
    }
    if (!stored) {
      const std::lock_guard<std::mutex> lock(mutex_);
      queue_.clear();
      return;
    }
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      queued_bytes_ -= job.to - job.from;
    }
    progress_.notify_one();
  }
}

}  // namespace sarnik
