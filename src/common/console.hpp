// The run's console: standard output, buffered, and standard error.
#pragma once

#include <string>
#include <string_view>

namespace sarnik {

class Console {
 public:
  // A console that writes to the process's standard output and error. On a
  // terminal each line is shown as it is written; redirected output is
  // written in large blocks.
  Console();
  // A console that keeps everything it is given, for tests and fuzzing.
  static Console capturing() {
    Console c;
    c.capture_ = true;
    return c;
  }

  // Standard output, buffered until flush(), until the buffer is large, or
  // on a terminal until the end of a line.
  void out(std::string_view bytes);
  // Standard error. Flushes the standard output first, so that a terminal
  // shows both in the order they were written.
  void err(std::string_view bytes);
  void flush();

  // False once any write to the standard output has failed.
  bool output_ok() const { return output_ok_; }

  const std::string& captured_out() const { return out_; }
  const std::string& captured_err() const { return err_; }

 private:
  bool capture_ = false;
  bool flush_lines_ = false;
  bool output_ok_ = true;
  std::string out_;
  std::string err_;
};

}  // namespace sarnik
