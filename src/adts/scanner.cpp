#include "adts/scanner.hpp"

#include <algorithm>
#include <limits>

#include "adts/adts_header.hpp"
#include "adts/program_config.hpp"
#include "common/fail.hpp"
#include "common/format.hpp"

namespace sarnik {
namespace {

// A position is examined only while more than 7 bytes remain from it.
constexpr std::size_t kExamineMargin = kAdtsHeaderSize;
// A full block is refilled from the next frame when fewer than
// kRefillMargin + 7 bytes remain in it.
constexpr std::size_t kRefillMargin = 4096;
constexpr std::size_t kResyncWindow = 1024;
// No 3-bit channel configuration has this value, so the first frame always
// opens a segment.
constexpr std::uint32_t kNoChannelConfig = 255;

class Scan {
 public:
  Scan(ByteSource& source, std::uint32_t size, AdtsInput& input, Console& console)
      : source_(source), size_(size), input_(input), console_(console) {}

  ScanResult run() {
    input_.frame_offsets.clear();
    // The file's size was taken before the scan; a read that fails, or a
    // file that ends before that size, is an error, never a silently
    // shorter input.
    while (block_position_ < size_) {
      const std::uint64_t left = size_ - block_position_;
      const auto got = static_cast<std::size_t>(std::min<std::uint64_t>(kScanBlockSize, left));
      block_ = source_.view(block_position_, got);
      if (block_ == nullptr) fail_and_exit(Msg::input_read_failed);
      block_position_ = examine_block(got);
    }

    if (frames_ == 0) fail_and_exit(Msg::not_adts);
    input_.frame_offsets.push_back(stored_);
    input_.frame_count = frames_;
    input_.file_size = size_;
    return result_;
  }

 private:
  // Examines the block in hand (got bytes) and returns the file position of
  // the next block: the refill position, the end of this block, or the end
  // of the file when a frame has reached it.
  std::uint64_t examine_block(std::size_t got) {
    const std::uint64_t block_end = block_position_ + got;
    if (got <= kExamineMargin) return block_end;
    const std::size_t examined_end = got - kExamineMargin;
    std::size_t p = 0;
    while (p < examined_end) {
      if (!is_adts_header(&block_[p])) p = resynchronise(p, examined_end);
      const std::uint64_t next_frame = take_frame(p);
      if (next_frame >= size_) return size_;
      p = static_cast<std::size_t>(next_frame - block_position_);
      if (got == kScanBlockSize && p > got - kExamineMargin - kRefillMargin) return next_frame;
    }
    return block_end;
  }

  // No header at p: searches the window from p, cut at the end of the
  // examined part of the block, and returns the header found.
  std::size_t resynchronise(std::size_t p, std::size_t examined_end) {
    if (frames_ > 0) console_.out(Msg::bad_header, {frames_});
    const std::size_t limit = std::min(p + kResyncWindow, examined_end);
    for (std::size_t q = p; q < limit; ++q) {
      if (is_adts_header(&block_[q])) {
        result_ = ScanResult::skipped;
        return q;
      }
    }
    fail_and_exit(Msg::not_adts);
  }

  // Records the frame at block position p and returns the file position
  // after it. Only the header and the byte after it (always in the block,
  // since a position is examined only while more than 7 bytes remain) need
  // to be there: the frame's bytes are copied from the file when the output
  // is written.
  std::uint64_t take_frame(std::size_t p) {
    const std::uint8_t* h = &block_[p];
    const std::uint64_t frame_position = block_position_ + p;
    // A last frame that the file cuts short keeps the bytes the file holds.
    const std::uint32_t header_length = adts_frame_length(h);
    const std::uint32_t length =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(header_length, size_ - frame_position));
    if (length < header_length) input_.last_frame_cut_short = true;

    input_.frame_offsets.push_back(stored_);
    if (!is_editable_frame(h)) input_.every_frame_editable = false;
    // The other fields are read only where a segment starts.
    if (adts_channel_config(h) != previous_channel_config_) {
      const AdtsHeader header = parse_adts_header(h);
      input_.segments.push_back(FormatSegment{frames_, header.mpeg_id, header.profile,
                                              header.sampling_rate, header.channel_config});
      previous_channel_config_ = header.channel_config;
    }
    if (opens_with_pce(h, length)) input_.pce_frames.push_back(frames_);
    if (frames_ == std::numeric_limits<std::uint32_t>::max()) fail_and_exit(Msg::too_many_frames);
    ++frames_;
    stored_ += length;
    return frame_position + length;
  }

  ByteSource& source_;
  const std::uint32_t size_;
  AdtsInput& input_;
  Console& console_;
  const std::uint8_t* block_ = nullptr;  // the block in hand

  std::uint64_t block_position_ = 0;  // where the block in hand starts
  std::uint32_t stored_ = 0;          // bytes of the frames found so far
  std::uint32_t frames_ = 0;
  std::uint32_t previous_channel_config_ = kNoChannelConfig;
  ScanResult result_ = ScanResult::clean;
};

}  // namespace

ScanResult scan_adts_stream(ByteSource& source, std::uint64_t size, AdtsInput& input,
                            Console& console) {
  if (size > std::numeric_limits<std::uint32_t>::max()) fail_and_exit(Msg::input_too_large);
  return Scan(source, static_cast<std::uint32_t>(size), input, console).run();
}

}  // namespace sarnik
