// Preloaded (LD_PRELOAD) as SARNIK_HOOK says: before the first copy_file_range "rewrite FILE"
// rewrites 100 bytes of FILE in place and "cut FILE" cuts it to 1000; "scanned FILE" rewrites it
// after the first read (the scan); "term" and "quit" raise SIGTERM and SIGQUIT after the first
// copy_file_range, "write-term" SIGTERM after the first write to a file; "full" lets the output
// take 1000 bytes, then ENOSPC; "close fails" fails with EIO, "close term" raises SIGTERM, after
// each close of a file open for writing (not 0 to 2).
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <utility>

namespace {

std::string hook(const char* action) {  // the file the action names (or "term"), else ""
  const std::string h = std::getenv("SARNIK_HOOK") ? std::getenv("SARNIK_HOOK") : "";
  return h.starts_with(action) ? h.substr(h.find(' ') + 1) : "";
}

void rewrite(const std::string& file) {
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // a tick of the stamping clock
  const int fd = open(file.c_str(), O_WRONLY);
  if (pwrite(fd, std::string(100, 'x').data(), 100, 1000) != 100 || close(fd) != 0) std::abort();
}

template <class Call>
Call next(const char* name) {
  return reinterpret_cast<Call>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t n) {
  static bool first = true;
  const ssize_t got = next<decltype(&read)>("read")(fd, buffer, n);
  if (std::exchange(first, false) && !hook("scanned ").empty()) rewrite(hook("scanned "));
  return got;
}

extern "C" ssize_t copy_file_range(int in, off64_t* in_at, int out, off64_t* out_at, size_t n,
                                   unsigned flags) {
  static bool first = true;
  const bool full = !hook("full").empty();
  if (first && !hook("rewrite ").empty()) rewrite(hook("rewrite "));
  if (first && !hook("cut ").empty() && truncate(hook("cut ").c_str(), 1000) != 0) std::abort();
  if (full && !first) return errno = ENOSPC, -1;
  const ssize_t copied = next<decltype(&copy_file_range)>("copy_file_range")(
      in, in_at, out, out_at, full ? std::min<size_t>(n, 1000) : n, flags);
  if (std::exchange(first, false) && !hook("term").empty()) std::raise(SIGTERM);
  if (!hook("quit").empty()) std::raise(SIGQUIT);
  return copied;
}

extern "C" ssize_t write(int fd, const void* buffer, size_t n) {
  if (fd > 2 && !hook("full").empty()) return errno = ENOSPC, -1;
  static bool first = true;
  const ssize_t written = next<decltype(&write)>("write")(fd, buffer, n);
  if (fd > 2 && std::exchange(first, false) && !hook("write-term").empty()) std::raise(SIGTERM);
  return written;
}

extern "C" int close(int fd) {
  const bool output = fd > 2 && (fcntl(fd, F_GETFL) & O_ACCMODE) == O_WRONLY;
  const int closed = next<decltype(&close)>("close")(fd);
  if (output && hook("close ") == "term") std::raise(SIGTERM);
  if (output && hook("close ") == "fails") return errno = EIO, -1;
  return closed;
}
