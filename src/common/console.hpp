// The run's console: standard output, buffered, and standard error. Each
// stream has its own encoding: UTF-8 for a terminal that reads it, else the
// CP932 bytes that a captured run always holds.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "common/format.hpp"
#include "platform/std_streams.hpp"

namespace sarnik {

// Where the console's text goes, and how each stream wants it.
class ConsoleSink {
 public:
  virtual ~ConsoleSink() = default;
  virtual TextEncoding encoding(platform::StdStream stream) const = 0;
  // Whether the standard output is shown as it is written (a terminal), so
  // that each message is written at once.
  virtual bool shows_at_once() const = 0;
  // Writes the bytes unchanged; false on failure.
  virtual bool write(platform::StdStream stream, std::string_view bytes) = 0;
};

// The process's standard output and error.
class StandardStreams final : public ConsoleSink {
 public:
  StandardStreams();
  TextEncoding encoding(platform::StdStream stream) const override {
    return stream == platform::StdStream::out ? out_ : err_;
  }
  bool shows_at_once() const override { return out_is_terminal_; }
  bool write(platform::StdStream stream, std::string_view bytes) override;

 private:
  TextEncoding out_;
  TextEncoding err_;
  bool out_is_terminal_ = false;
};

class Console {
 public:
  explicit Console(ConsoleSink& sink)
      : sink_(sink),
        out_encoding_(sink.encoding(platform::StdStream::out)),
        err_encoding_(sink.encoding(platform::StdStream::err)),
        shows_at_once_(sink.shows_at_once()) {}

  // One message, formatted in the stream's encoding. Standard output is
  // buffered until flush() or until the buffer is large, unless it is shown
  // at once; writing to the standard error flushes the standard output first,
  // so that a terminal shows both in the order they were written, and ends
  // the line that a terminal shows without its line end, so that the error
  // starts on a line of its own.
  void out(Msg id, std::initializer_list<FormatArg> args = {});
  void err(Msg id, std::initializer_list<FormatArg> args = {});
  void flush();

  // False once any write to the standard output has failed.
  bool output_ok() const { return output_ok_; }

 private:
  ConsoleSink& sink_;
  TextEncoding out_encoding_;
  TextEncoding err_encoding_;
  bool shows_at_once_ = false;
  bool line_open_ = false;  // the terminal shows text without its line end
  bool output_ok_ = true;
  std::string out_;
};

}  // namespace sarnik
