#include "adts/scanner.hpp"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "adts/adts_header.hpp"
#include "common/fail.hpp"
#include "common/format.hpp"
#include "platform/file.hpp"

namespace sarnik {
namespace {

constexpr std::size_t kBlockSize = 32768;
// A position is examined only while more than 7 bytes remain from it.
constexpr std::size_t kExamineMargin = kAdtsHeaderSize;
// A full block is refilled from the next frame when fewer than
// kRefillMargin + 7 bytes remain in it.
constexpr std::size_t kRefillMargin = 4096;
constexpr std::size_t kResyncWindow = 1024;
// No 3-bit channel configuration has this value, so the first frame always
// opens a segment.
constexpr std::uint32_t kNoChannelConfig = 255;

// Serves the scan's 32768-byte blocks from reads of 128 KiB, few enough
// system calls, and small enough that the bytes are still in the processor's
// cache when the headers are examined. Blocks are examined where they were
// read; a block that runs past what was read keeps the bytes it starts with
// (a refill goes back a few kilobytes) and reads on from there.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(platform::File& file) : file_(file), buffer_(kReadSize) {}

  const std::uint8_t* view(std::size_t n) override {
    if (n > buffer_.size()) return ByteSource::view(n);
    if (position_ < buffer_start_ || position_ + n > buffer_start_ + buffered_) {
      if (!fill() || buffered_ < n) return nullptr;
    }
    const std::uint8_t* bytes = buffer_.data() + (position_ - buffer_start_);
    position_ += n;
    return bytes;
  }

  bool read(std::uint8_t* target, std::size_t n, std::size_t& got) override {
    got = 0;
    while (got < n) {
      if (position_ < buffer_start_ || position_ >= buffer_start_ + buffered_) {
        if (!fill()) return false;
        if (buffered_ == 0) break;
      }
      const std::size_t offset = static_cast<std::size_t>(position_ - buffer_start_);
      const std::size_t take = std::min(n - got, buffered_ - offset);
      std::memcpy(target + got, buffer_.data() + offset, take);
      got += take;
      position_ += take;
    }
    return true;
  }

  bool seek(std::uint64_t position) override {
    position_ = position;
    return true;
  }

 private:
  static constexpr std::size_t kReadSize = 128 << 10;

  // Fills the buffer from position_ on. The file's own position is always
  // the end of what the buffer holds, so bytes kept need no seek.
  bool fill() {
    std::size_t kept = 0;
    if (position_ >= buffer_start_ && position_ < buffer_start_ + buffered_) {
      const std::size_t offset = static_cast<std::size_t>(position_ - buffer_start_);
      kept = buffered_ - offset;
      std::memmove(buffer_.data(), buffer_.data() + offset, kept);
    } else if (!file_.seek(position_)) {
      buffered_ = 0;
      return false;
    }
    buffer_start_ = position_;
    std::size_t got = 0;
    const bool ok = file_.read(buffer_.data() + kept, buffer_.size() - kept, got);
    buffered_ = ok ? kept + got : 0;
    if (!ok) buffer_start_ = 0;
    return ok;
  }

  platform::File& file_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t buffer_start_ = 0;
  std::size_t buffered_ = 0;
  std::uint64_t position_ = 0;
};

class Scan {
 public:
  Scan(ByteSource& source, std::uint32_t size, AdtsInput& input, Console& console)
      : source_(source), size_(size), input_(input), console_(console) {}

  std::int32_t run() {
    input_.frame_offsets.clear();

    std::size_t got = read_block();
    while (got > 0) {
      const std::uint64_t next_block = examine_block(got);
      if (next_block >= size_) break;
      if (next_block != position_) seek(next_block);
      block_position_ = next_block;
      got = read_block();
    }

    if (frames_ == 0) fail_and_exit(Msg::not_adts);
    input_.frame_offsets.push_back(stored_);
    input_.frame_count = frames_;
    input_.file_size = size_;
    return status_;
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
      if (got == kBlockSize && p > got - kExamineMargin - kRefillMargin) return next_frame;
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
        status_ = kScanSkipped;
        return q;
      }
    }
    fail_and_exit(Msg::not_adts);
  }

  // Records the frame at block position p and returns the file position
  // after it. Only the header needs to be in the block: the frame's bytes
  // are copied from the file when the output is written.
  std::uint64_t take_frame(std::size_t p) {
    const AdtsHeader header = parse_adts_header(&block_[p]);
    const std::uint64_t frame_position = block_position_ + p;
    // A last frame that the file cuts short keeps the bytes the file holds.
    const std::uint32_t length = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(header.frame_length, size_ - frame_position));

    input_.frame_offsets.push_back(stored_);
    if (header.channel_config != previous_channel_config_) {
      input_.segments.push_back(FormatSegment{frames_, header.mpeg_id, header.profile,
                                              header.sampling_rate, header.channel_config});
      previous_channel_config_ = header.channel_config;
    }
    if (frames_ == std::numeric_limits<std::uint32_t>::max()) fail_and_exit(Msg::too_many_frames);
    ++frames_;
    stored_ += length;
    return frame_position + length;
  }

  // The file's size was taken before the scan; a read that fails, or a file
  // that ends before that size, is an error, never a silently shorter input.
  std::size_t read_block() {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSize, size_ - position_));
    if (want > 0) {
      block_ = source_.view(want);
      if (block_ == nullptr) fail_and_exit(Msg::input_read_failed);
    }
    position_ += want;
    return want;
  }

  void seek(std::uint64_t position) {
    if (!source_.seek(position)) fail_and_exit(Msg::input_read_failed);
    position_ = position;
  }

  ByteSource& source_;
  const std::uint32_t size_;
  AdtsInput& input_;
  Console& console_;
  const std::uint8_t* block_ = nullptr;  // the block in hand

  std::uint64_t position_ = 0;        // the source's current position
  std::uint64_t block_position_ = 0;  // where the block in hand starts
  std::uint32_t stored_ = 0;          // bytes of the frames found so far
  std::uint32_t frames_ = 0;
  std::uint32_t previous_channel_config_ = kNoChannelConfig;
  std::int32_t status_ = kScanClean;
};

}  // namespace

const std::uint8_t* ByteSource::view(std::size_t n) {
  view_buffer_.resize(n);
  std::size_t got = 0;
  if (!read(view_buffer_.data(), n, got) || got != n) return nullptr;
  return view_buffer_.data();
}

std::int32_t scan_adts_stream(ByteSource& source, std::uint64_t size, AdtsInput& input,
                              Console& console) {
  if (size > std::numeric_limits<std::uint32_t>::max()) fail_and_exit(Msg::input_too_large);
  return Scan(source, static_cast<std::uint32_t>(size), input, console).run();
}

std::int32_t scan_adts_file(const char* name, AdtsInput* input, Console& console,
                            InputFile& file) {
  if (name == nullptr || input == nullptr) return 0;
  if (!file.file.open_read(name) || !file.file.stamp(file.stamp)) {
    fail_and_exit(Msg::input_read_failed);
  }
  if (!file.file.is_regular()) fail_and_exit(Msg::input_not_regular);
  FileSource source(file.file);
  return scan_adts_stream(source, file.stamp.size, *input, console);
}

}  // namespace sarnik
