// copy_range through plain reads and writes, for systems without an in-kernel
// copy.
#include <algorithm>
#include <vector>

#include "platform/file.hpp"

namespace sarnik::platform {

CopyStatus copy_range(File& in, std::uint64_t position, std::uint64_t length, File& out) {
  constexpr std::size_t kChunk = 1 << 20;
  if (length == 0) return CopyStatus::done;
  if (!in.seek(position)) return CopyStatus::read_failed;
  std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length)));
  std::uint64_t copied = 0;
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
