#include "common/console.hpp"

#include "platform/file.hpp"
#include "platform/names.hpp"

namespace sarnik {
namespace {

constexpr std::size_t kFlushThreshold = 1 << 16;

TextEncoding encoding_for(platform::StdStream stream) {
  if (platform::is_terminal(stream) && platform::terminal_reads_utf8()) {
    return TextEncoding{Encoding::utf8, nullptr};
  }
  return TextEncoding{Encoding::cp932, &platform::name_in_cp932};
}

}  // namespace

Console::Console()
    : Console(encoding_for(platform::StdStream::out), encoding_for(platform::StdStream::err)) {
  flush_lines_ = platform::is_terminal(platform::StdStream::out);
}

void Console::out(Msg id, std::initializer_list<FormatArg> args) {
  const std::string text = format_text(id, args, out_encoding_);
  out_.append(text);
  if (capture_) return;
  if (out_.size() >= kFlushThreshold || (flush_lines_ && text.find('\n') != std::string::npos)) {
    flush();
  }
}

void Console::err(Msg id, std::initializer_list<FormatArg> args) {
  const std::string line = format_text(id, args, err_encoding_);
  if (capture_) {
    err_.append(line);
    return;
  }
  flush();
  // Nothing is left to report a failing standard error on.
  static_cast<void>(platform::write_stderr(line));
}

void Console::flush() {
  if (capture_ || out_.empty()) return;
  if (!platform::write_stdout(out_)) output_ok_ = false;
  out_.clear();
}

}  // namespace sarnik
