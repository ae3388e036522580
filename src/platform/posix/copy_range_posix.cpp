// copy_range on POSIX: copy_file_range where the kernel offers it for the
// two files (the bytes then never pass through this process), pread and
// write otherwise.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/file.hpp"

namespace sarnik::platform {
namespace {

constexpr std::size_t kChunk = 1 << 20;

bool write_all_fd(int fd, const char* data, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    data += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

CopyStatus copy_by_reads(int in_fd, int out_fd, std::uint64_t position, std::uint64_t length) {
  std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length)));
  std::uint64_t copied = 0;
  while (copied < length) {
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), length - copied));
    const ssize_t r = ::pread(in_fd, buffer.data(), want, static_cast<off_t>(position + copied));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return CopyStatus::read_failed;
    if (r == 0) return CopyStatus::source_ended;
    if (!write_all_fd(out_fd, buffer.data(), static_cast<std::size_t>(r))) {
      return CopyStatus::write_failed;
    }
    copied += static_cast<std::uint64_t>(r);
  }
  return CopyStatus::done;
}

}  // namespace

CopyStatus copy_range(File& in, std::uint64_t position, std::uint64_t length, File& out) {
  const int in_fd = static_cast<int>(in.native_handle());
  const int out_fd = static_cast<int>(out.native_handle());
  std::uint64_t copied = 0;
#if defined(__linux__)
  while (copied < length) {
    loff_t in_offset = static_cast<loff_t>(position + copied);
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(length - copied, std::uint64_t{1} << 30));
    const ssize_t n = ::copy_file_range(in_fd, &in_offset, out_fd, nullptr, want, 0);
    if (n < 0 && errno == EINTR) continue;
    // An error or a zero count: the kernel may not offer the copy for these
    // files (another file system, a special file); the plain copy of the
    // rest tells the real outcome, an error or the end of the input.
    if (n <= 0) break;
    copied += static_cast<std::uint64_t>(n);
  }
#endif
  if (copied == length) return CopyStatus::done;
  return copy_by_reads(in_fd, out_fd, position + copied, length - copied);
}

}  // namespace sarnik::platform
