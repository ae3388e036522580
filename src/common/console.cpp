#include "common/console.hpp"

#include "platform/file.hpp"

namespace sarnik {
namespace {
constexpr std::size_t kFlushThreshold = 1 << 16;
}

Console::Console() : flush_lines_(platform::is_terminal(platform::StdStream::out)) {}

void Console::out(std::string_view bytes) {
  out_.append(bytes);
  if (capture_) return;
  if (out_.size() >= kFlushThreshold ||
      (flush_lines_ && bytes.find('\n') != std::string_view::npos)) {
    flush();
  }
}

void Console::err(std::string_view bytes) {
  if (capture_) {
    err_.append(bytes);
    return;
  }
  flush();
  // Nothing is left to report a failing standard error on.
  static_cast<void>(platform::write_stderr(bytes));
}

void Console::flush() {
  if (capture_ || out_.empty()) return;
  if (!platform::write_stdout(out_)) output_ok_ = false;
  out_.clear();
}

}  // namespace sarnik
