// POSIX files.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/file.hpp"
#include "platform/posix/descriptors.hpp"

namespace sarnik::platform {
namespace {

int fd_of(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

FileId id_of(const struct stat& st) {
  return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

bool write_fd(int fd, const char* data, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (w == 0) return false;
    data += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

bool File::open_read(const char* path) {
  close();
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  handle_ = fd;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close();
    return false;
  }
  return true;
}

bool File::create_write(const char* path) {
  close();
  // Not truncated on opening: the file is emptied only once it is held.
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  handle_ = fd;
  // A device or a pipe is neither held nor emptied (two runs may well both
  // write to /dev/null). A file system without locks leaves the file unheld.
  if (!is_regular()) return true;
  int r = 0;
  do {
    r = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (r != 0 && errno == EINTR);
  if (r != 0 && errno == EWOULDBLOCK) {
    close();
    return false;
  }
  // A new, empty file is not truncated again: on ext4 a truncated file is
  // written back to the disk as soon as it is closed, which would make
  // every run wait for the disk.
  std::uint64_t length = 0;
  if (!size(length) || (length > 0 && !truncate(0))) {
    close();
    return false;
  }
  return true;
}

bool File::create_new(const char* path) {
  close();
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  handle_ = fd;
  return true;
}

bool File::size(std::uint64_t& out) const {
  struct stat st {};
  if (::fstat(fd_of(handle_), &st) != 0 || st.st_size < 0) return false;
  out = static_cast<std::uint64_t>(st.st_size);
  return true;
}

bool File::is_regular() const {
  struct stat st {};
  return ::fstat(fd_of(handle_), &st) == 0 && S_ISREG(st.st_mode);
}

bool File::read(void* buffer, std::size_t n, std::size_t& got) {
  got = 0;
  auto* p = static_cast<char*>(buffer);
  while (got < n) {
    const ssize_t r = ::read(fd_of(handle_), p + got, n - got);
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (r == 0) break;
    got += static_cast<std::size_t>(r);
  }
  return true;
}

bool File::seek(std::uint64_t position) {
  return ::lseek(fd_of(handle_), static_cast<off_t>(position), SEEK_SET) >= 0;
}

bool File::write_all(const void* buffer, std::size_t n) {
  return write_fd(fd_of(handle_), static_cast<const char*>(buffer), n);
}

bool File::truncate(std::uint64_t length) {
  int r = 0;
  do {
    r = ::ftruncate(fd_of(handle_), static_cast<off_t>(length));
  } while (r != 0 && errno == EINTR);
  return r == 0 && seek(length);
}

bool File::identity(FileId& out) const {
  struct stat st {};
  if (::fstat(fd_of(handle_), &st) != 0) return false;
  out = id_of(st);
  return true;
}

bool File::stamp(FileStamp& out) const {
  struct stat st {};
  if (::fstat(fd_of(handle_), &st) != 0 || st.st_size < 0) return false;
  const auto seconds = static_cast<std::uint64_t>(st.st_ctim.tv_sec);
  out = FileStamp{static_cast<std::uint64_t>(st.st_size),
                  seconds * 1000000000u + static_cast<std::uint64_t>(st.st_ctim.tv_nsec)};
  return true;
}

// copy_file_range where the kernel offers it for the two files: the bytes
// then never pass through this process.
std::uint64_t copy_in_system(File& in, std::uint64_t position, std::uint64_t length, File& out) {
  std::uint64_t copied = 0;
#if defined(__linux__)
  const int in_fd = static_cast<int>(in.native_handle());
  const int out_fd = static_cast<int>(out.native_handle());
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
#else
  static_cast<void>(in);
  static_cast<void>(position);
  static_cast<void>(length);
  static_cast<void>(out);
#endif
  return copied;
}

// Every close of a descriptor makes the file system settle the file's
// written bytes and report its deferred errors (NFS, SMB and FUSE do it
// there), so closing a duplicate does it while the file stays open.
bool File::settle() {
  const int spare = ::dup(fd_of(handle_));
  return spare >= 0 && ::close(spare) == 0;
}

bool File::close() {
  if (handle_ == kNoHandle) return true;
  const int fd = fd_of(handle_);
  handle_ = kNoHandle;
  return ::close(fd) == 0;
}

bool file_identity(const char* path, FileId& out) {
  struct stat st {};
  if (::stat(path, &st) != 0) return false;
  out = id_of(st);
  return true;
}

bool remove_file(const char* path) { return ::unlink(path) == 0; }

}  // namespace sarnik::platform
