// The run's console: standard output, buffered, and standard error. Each
// stream has its own encoding: UTF-8 for a terminal that reads it, else the
// CP932 bytes that a captured run always holds.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "common/format.hpp"

namespace sarnik {

class Console {
 public:
  // A console that writes to the process's standard output and error. On a
  // terminal each line is shown as it is written; redirected output is
  // written in large blocks.
  Console();
  // A console that keeps everything it is given, in CP932, for tests and
  // fuzzing.
  static Console capturing() {
    Console c(TextEncoding{}, TextEncoding{});
    c.capture_ = true;
    return c;
  }

  // One message, formatted in the stream's encoding. Standard output is
  // buffered until flush(), until the buffer is large, or on a terminal
  // until the end of a line; writing to the standard error flushes the
  // standard output first, so that a terminal
  // shows both in the order they were written.
  void out(Msg id, std::initializer_list<FormatArg> args = {});
  void err(Msg id, std::initializer_list<FormatArg> args = {});
  void flush();

  // False once any write to the standard output has failed.
  bool output_ok() const { return output_ok_; }

  const std::string& captured_out() const { return out_; }
  const std::string& captured_err() const { return err_; }

 private:
  Console(const TextEncoding& out, const TextEncoding& err) : out_encoding_(out), err_encoding_(err) {}

  TextEncoding out_encoding_;
  TextEncoding err_encoding_;
  bool capture_ = false;
  bool flush_lines_ = false;
  bool output_ok_ = true;
  std::string out_;
  std::string err_;
};

}  // namespace sarnik
