// Copies the output's frames while the inputs are still being scanned, so
// that the copy and the scan run side by side. The output step later keeps
// what was copied ahead as far as it is what it wants (see InPlaceMatch)
// and copies the rest itself; when no output is to be written, the output
// is emptied again, as it was when created.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "adts/scanner.hpp"
#include "output/ahead_plan.hpp"
#include "platform/file.hpp"

namespace sarnik {

class CopyAhead final : public FrameSink {
 public:
  // Starts the copying thread; output must be a new, empty regular file,
  // left alone by the caller until finish or abandon. Throws
  // std::system_error when no thread can be started.
  CopyAhead(std::vector<CutRange> ranges, const std::vector<std::string>& names,
            platform::File& output);
  // Stops the copying; unless finish handed the output over, empties it.
  ~CopyAhead() override;
  CopyAhead(const CopyAhead&) = delete;
  CopyAhead& operator=(const CopyAhead&) = delete;

  // The scan of input i begins / has ended.
  void begin_input(std::size_t input);
  void end_input();
  void frame(std::uint64_t position, std::uint32_t length) override;

  // No output will be written: stops the copying and empties the output.
  void abandon();
  // Waits for the copies; returns the blocks that are now whole in the
  // output, in order. The output may hold further bytes after them. The
  // output is the caller's again.
  std::vector<CopyBlock> finish();

 private:
  void push(std::vector<CopyJob>& jobs);
  void stop_worker(bool drain);
  void work();

  AheadPlanner planner_;
  const std::vector<std::string>& names_;
  platform::File& output_;
  std::vector<CopyJob> ready_;

  std::mutex mutex_;
  std::condition_variable wake_;      // a copy was queued, or the end came
  std::condition_variable progress_;  // a copy was done, or the copying ended
  std::deque<CopyJob> queue_;
  std::uint64_t queued_bytes_ = 0;    // bytes queued or being copied
  bool worker_done_ = false;         // the worker has stopped (done or failed)
  bool closing_ = false;    // no more copies will come: finish the queue
  bool cancelled_ = false;  // drop the queue

  std::vector<CopyBlock> done_;  // the worker's until it is joined
  bool handed_over_ = false;
  std::thread worker_;
};

}  // namespace sarnik
