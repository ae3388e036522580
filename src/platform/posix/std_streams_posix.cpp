// POSIX standard streams.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "platform/posix/descriptors.hpp"
#include "platform/std_streams.hpp"

namespace sarnik::platform {
namespace {

int fd_of(StdStream stream) { return stream == StdStream::out ? STDOUT_FILENO : STDERR_FILENO; }

// Per standard stream (output, error): a write to it has failed.
volatile std::sig_atomic_t stream_failed[2] = {0, 0};

volatile std::sig_atomic_t& failed_flag(StdStream stream) {
  return stream_failed[stream == StdStream::out ? 0 : 1];
}

}  // namespace

bool std_stream_identity(StdStream stream, FileId& out) {
  struct stat st {};
  if (::fstat(fd_of(stream), &st) != 0) return false;
  if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)) return false;
  out = id_of(st);
  return true;
}

bool is_terminal(StdStream stream) { return ::isatty(fd_of(stream)) == 1; }

void open_closed_std_streams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // open takes the lowest free number, which is fd itself.
    const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != fd) ::close(opened);
  }
}

bool write_std(StdStream stream, std::string_view bytes) {
  volatile std::sig_atomic_t& failed = failed_flag(stream);
  if (failed != 0) return false;
  if (write_fd(fd_of(stream), bytes.data(), bytes.size())) return true;
  failed = 1;
  return false;
}

bool std_stream_failed(StdStream stream) { return failed_flag(stream) != 0; }

void report_broken_pipes() { static_cast<void>(::signal(SIGPIPE, SIG_IGN)); }

}  // namespace sarnik::platform
