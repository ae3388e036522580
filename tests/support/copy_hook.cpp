// Preloaded (LD_PRELOAD) as SARNIK_HOOK says: before the first copy_file_range "rewrite FILE"
// rewrites 100 bytes of FILE in place and "cut FILE" cuts it to 1000; "scanned FILE" rewrites it
// after the first read (the scan); "term" raises SIGTERM after the first copy_file_range,
// "write-term" after the first write to a file.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

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
  if (first && !hook("rewrite ").empty()) rewrite(hook("rewrite "));
  if (first && !hook("cut ").empty() && truncate(hook("cut ").c_str(), 1000) != 0) std::abort();
  const ssize_t copied =
      next<decltype(&copy_file_range)>("copy_file_range")(in, in_at, out, out_at, n, flags);
  if (std::exchange(first, false) && !hook("term").empty()) std::raise(SIGTERM);
  return copied;
}

extern "C" ssize_t write(int fd, const void* buffer, size_t n) {
  static bool first = true;
  const ssize_t written = next<decltype(&write)>("write")(fd, buffer, n);
  if (fd > 2 && std::exchange(first, false) && !hook("write-term").empty()) std::raise(SIGTERM);
  return written;
}
