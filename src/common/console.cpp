#include "common/console.hpp"

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

StandardStreams::StandardStreams()
    : out_(encoding_for(platform::StdStream::out)),
      err_(encoding_for(platform::StdStream::err)),
      out_is_terminal_(platform::is_terminal(platform::StdStream::out)) {}

bool StandardStreams::write(platform::StdStream stream, std::string_view bytes) {
  return platform::write_std(stream, bytes);
}

void Console::out(Msg id, std::initializer_list<FormatArg> args) {
  const std::string text = format_text(id, args, out_encoding_);
  out_.append(text);
  if (shows_at_once_ || out_.size() >= kFlushThreshold) flush();
}

void Console::err(Msg id, std::initializer_list<FormatArg> args) {
  flush();
  if (line_open_) {
    static_cast<void>(sink_.write(platform::StdStream::out, "\n"));
    line_open_ = false;
  }
  // Nothing is left to report a failing standard error on.
  static_cast<void>(sink_.write(platform::StdStream::err, format_text(id, args, err_encoding_)));
}

void Console::flush() {
  if (out_.empty()) return;
  if (!sink_.write(platform::StdStream::out, out_)) output_ok_ = false;
  line_open_ = shows_at_once_ && out_.back() != '\n';
  out_.clear();
}

}  // namespace sarnik
