// A console whose text is kept, as the CP932 bytes a captured run writes,
// for a test to read.
#pragma once

#include <string>
#include <string_view>

#include "common/console.hpp"

namespace sarnik::test {

class CapturedSink final : public ConsoleSink {
 public:
  TextEncoding encoding(platform::StdStream) const override { return {}; }
  bool shows_lines() const override { return false; }
  bool write(platform::StdStream stream, std::string_view bytes) override {
    (stream == platform::StdStream::out ? out : err).append(bytes);
    return true;
  }

  std::string out;
  std::string err;
};

struct CapturedConsole {
  CapturedSink sink;
  Console console{sink};

  // Everything written to the standard output so far.
  const std::string& out() {
    console.flush();
    return sink.out;
  }
};

}  // namespace sarnik::test
