// POSIX implementation of the platform layer.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

#include "platform/file.hpp"

namespace sarnik::platform {
namespace {

int fd_of(std::intptr_t handle) { return static_cast<int>(handle); }
int fd_of(StdStream stream) { return stream == StdStream::out ? STDOUT_FILENO : STDERR_FILENO; }

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

volatile std::sig_atomic_t interrupt_output = -1;  // the descriptor to empty
volatile std::sig_atomic_t interrupt_terminal = 0;
// Per standard stream (output, error): a write to it has failed.
volatile std::sig_atomic_t stream_failed[2] = {0, 0};
// The names of the files to remove, and how many of them.
const std::vector<std::string>* volatile interrupt_removals = nullptr;
volatile std::sig_atomic_t interrupt_removal_count = 0;

// Async-signal-safe calls only. The default action is back (SA_RESETHAND) and
// the interrupts are blocked until the handler returns, when the signal
// raised here ends the process.
extern "C" void on_interrupt(int signal) {
  if (interrupt_output >= 0) static_cast<void>(::ftruncate(interrupt_output, 0));
  for (std::sig_atomic_t i = 0; i < interrupt_removal_count; ++i) {
    static_cast<void>(::unlink((*interrupt_removals)[static_cast<std::size_t>(i)].c_str()));
  }
  if (interrupt_terminal != 0 && stream_failed[0] == 0) {
    static_cast<void>(::write(STDOUT_FILENO, "\n", 1));
  }
  static_cast<void>(::raise(signal));
}

void install_interrupt_handler() {
  // SIGXFSZ is raised by a write past the file size limit (ulimit -f).
  constexpr int kInterrupts[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ};
  interrupt_terminal = is_terminal(StdStream::out) ? 1 : 0;
  struct sigaction action {};
  action.sa_handler = on_interrupt;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (const int signal : kInterrupts) sigaddset(&action.sa_mask, signal);
  for (const int signal : kInterrupts) {
    struct sigaction before {};
    ::sigaction(signal, nullptr, &before);
    if (before.sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace

void empty_on_interrupt(const File& output) {
  interrupt_output = fd_of(output.native_handle());
  install_interrupt_handler();
}

void remove_on_interrupt(const std::vector<std::string>& names, std::size_t count) {
  interrupt_removal_count = 0;
  interrupt_removals = &names;
  interrupt_removal_count = static_cast<std::sig_atomic_t>(count);
  install_interrupt_handler();
}

bool remove_file(const char* path) { return ::unlink(path) == 0; }

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

bool std_stream_identity(StdStream stream, FileId& out) {
  struct stat st {};
  if (::fstat(fd_of(stream), &st) != 0) return false;
  if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)) return false;
  out = id_of(st);
  return true;
}

bool is_terminal(StdStream stream) { return ::isatty(fd_of(stream)) == 1; }

void advise_huge_pages(void* p, std::size_t n) {
#ifdef MADV_HUGEPAGE
  static_cast<void>(::madvise(p, n, MADV_HUGEPAGE));
#else
  static_cast<void>(p);
  static_cast<void>(n);
#endif
}

void open_closed_std_streams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // open takes the lowest free number, which is fd itself.
    const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != fd) ::close(opened);
  }
}

bool write_std(StdStream stream, std::string_view bytes) {
  volatile std::sig_atomic_t& failed = stream_failed[stream == StdStream::out ? 0 : 1];
  if (failed != 0) return false;
  if (write_fd(fd_of(stream), bytes.data(), bytes.size())) return true;
  failed = 1;
  return false;
}

void report_broken_pipes() { static_cast<void>(::signal(SIGPIPE, SIG_IGN)); }

}  // namespace sarnik::platform
