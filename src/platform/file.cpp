// What the File of every system shares: ownership of the handle, and the
// copy of a range of one file into another.
#include "platform/file.hpp"

#include <algorithm>

namespace sarnik::platform {

File::~File() { close(); }

File::File(File&& other) noexcept : handle_(other.handle_) { other.handle_ = kNoHandle; }

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = other.handle_;
    other.handle_ = kNoHandle;
  }
  return *this;
}

CopyStatus copy_range(File& in, std::uint64_t position, std::uint64_t length, File& out,
                      std::vector<char>& buffer) {
  constexpr std::size_t kChunk = 1 << 20;
  std::uint64_t copied = copy_in_system(in, position, length, out);
  if (copied == length) return CopyStatus::done;
  if (!in.seek(position + copied)) return CopyStatus::read_failed;
  if (buffer.empty()) buffer.resize(kChunk);
  while (copied < length) {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), length - copied));
    std::size_t got = 0;
    if (!in.read(buffer.data(), want, got)) return CopyStatus::read_failed;
    if (!out.write_all(buffer.data(), got)) return CopyStatus::write_failed;
    copied += got;
    if (got < want) return CopyStatus::source_ended;
  }
  return CopyStatus::done;
}

}  // namespace sarnik::platform
