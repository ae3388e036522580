#include "adts/input_file.hpp"

#include <cstring>
#include <utility>

#include "common/fail.hpp"

namespace sarnik {
namespace {

// Serves the scan's blocks from reads of 128 KiB straight into one buffer,
// where the headers are examined: few enough system calls, and small enough
// that the bytes are still in the processor's cache. A block that runs past
// what was read keeps the bytes it starts with (moved to the front: less
// than a block, once a read) and reads on from there. The file's own
// position is always the end of what the buffer holds, so reading on needs
// no seek.
class FileSource final : public ByteSource {
 public:
  explicit FileSource(platform::File& file) : file_(file), buffer_(kReadSize) {}

  const std::uint8_t* view(std::uint64_t offset, std::size_t n) override {
    if (offset < start_ || offset + n > start_ + held_) {
      if (!fill(offset) || held_ < n) return nullptr;
    }
    return buffer_.data() + (offset - start_);
  }

 private:
  static constexpr std::size_t kReadSize = 128 << 10;
  static_assert(kReadSize >= kScanBlockSize, "a block must fit in the buffer");

  bool fill(std::uint64_t offset) {
    std::size_t kept = 0;
    if (offset >= start_ && offset < start_ + held_) {
      kept = static_cast<std::size_t>(start_ + held_ - offset);
      std::memmove(buffer_.data(), buffer_.data() + (offset - start_), kept);
    } else if (!file_.seek(offset)) {
      return false;
    }
    start_ = offset;
    held_ = kept;
    std::size_t got = 0;
    if (!file_.read(buffer_.data() + kept, buffer_.size() - kept, got)) return false;
    held_ += got;
    return true;
  }

  platform::File& file_;
  std::vector<std::uint8_t> buffer_;
  std::uint64_t start_ = 0;  // the file offset of buffer_[0]
  std::size_t held_ = 0;     // bytes of the file in buffer_
};

}  // namespace

void InputFile::verify_unchanged() const {
  platform::FileStamp now{};
  if (!file_.stamp(now)) fail_and_exit(Msg::input_read_failed);
  if (!(now == stamp_)) fail_and_exit(Msg::input_changed);
}

std::uint64_t InputFile::copy_frames(std::uint32_t first, std::uint32_t end, platform::File& output,
                                     std::vector<char>& buffer) {
  const std::uint32_t from = frames_.frame_offsets[first];
  const std::uint64_t bytes = frames_.frame_offsets[end] - from;
  switch (platform::copy_range(file_, from, bytes, output, buffer)) {
    case platform::CopyStatus::done:
      break;
    case platform::CopyStatus::source_ended:
      fail_and_exit(Msg::input_changed);
    case platform::CopyStatus::read_failed:
      fail_and_exit(Msg::input_read_failed);
    case platform::CopyStatus::write_failed:
      fail_and_exit(Msg::output_write_failed);
  }
  return bytes;
}

std::vector<std::uint8_t> InputFile::read_frame(std::uint32_t k) {
  std::vector<std::uint8_t> bytes(frames_.frame_offsets[k + 1] - frames_.frame_offsets[k]);
  std::size_t got = 0;
  if (!file_.seek(frames_.frame_offsets[k]) || !file_.read(bytes.data(), bytes.size(), got)) {
    fail_and_exit(Msg::input_read_failed);
  }
  if (got != bytes.size()) fail_and_exit(Msg::input_changed);
  return bytes;
}

InputFile scan_adts_file(std::string name, Console& console) {
  InputFile input;
  if (!input.file_.open_read(name.c_str()) || !input.file_.stamp(input.stamp_)) {
    fail_and_exit(Msg::input_read_failed);
  }
  if (!input.file_.is_regular()) fail_and_exit(Msg::input_not_regular);
  FileSource source(input.file_);
  input.result_ = scan_adts_stream(source, input.stamp_.size, input.frames_, console);
  input.name_ = std::move(name);
  return input;
}

}  // namespace sarnik
