// Preloaded into the program (LD_PRELOAD) to act around its first copy_file_range, as
// SARNIK_HOOK says: "rewrite FILE" rewrites FILE's bytes from 1000 on in place, "cut FILE"
// cuts it to 1000 bytes, before the call; "term" raises SIGTERM after it.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

extern "C" ssize_t copy_file_range(int in, off64_t* in_at, int out, off64_t* out_at, size_t n,
                                   unsigned flags) {
  using Call = ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned);
  static const auto real = reinterpret_cast<Call>(dlsym(RTLD_NEXT, "copy_file_range"));
  static bool first = true;
  const std::string hook = std::getenv("SARNIK_HOOK") ? std::getenv("SARNIK_HOOK") : "";
  const std::string file = hook.substr(hook.find(' ') + 1);
  if (first && hook.starts_with("rewrite ")) {
    std::this_thread::sleep_for(
        std::chrono::milliseconds(20));  // a tick of the clock that stamps changes
    const int fd = open(file.c_str(), O_WRONLY);
    const std::string other(100, 'x');
    if (fd < 0 || pwrite(fd, other.data(), other.size(), 1000) != 100 || close(fd) != 0)
      std::abort();
  }
  if (first && hook.starts_with("cut ") && truncate(file.c_str(), 1000) != 0) std::abort();
  const ssize_t copied = real(in, in_at, out, out_at, n, flags);
  if (first && hook == "term") std::raise(SIGTERM);
  first = false;
  return copied;
}
