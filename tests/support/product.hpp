// The program's code as the unit tests and the fuzzers reach it: one source
// of bytes in memory, one way to scan bytes, one captured console.
#pragma once

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "adts/scanner.hpp"
#include "common/console.hpp"
#include "common/fail.hpp"

namespace sarnik::test {

inline Console captured_console() { return Console::capturing(); }

// Bytes served as a file of their size; every read after the first
// fail_after ones fails.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes, int fail_after = -1)
      : bytes_(bytes), fail_after_(fail_after) {}
  bool read(std::uint8_t* buffer, std::size_t n, std::size_t& got) override {
    if (fail_after_ >= 0 && reads_++ >= fail_after_) return false;
    got = std::min(n, bytes_.size() - std::min(bytes_.size(), position_));
    if (got > 0) std::memcpy(buffer, bytes_.data() + position_, got);
    position_ += got;
    return true;
  }
  bool seek(std::uint64_t position) override {
    position_ = static_cast<std::size_t>(position);
    return position <= bytes_.size();
  }

 private:
  std::string_view bytes_;
  int fail_after_;
  int reads_ = 0;
  std::size_t position_ = 0;
};

struct Scanned {
  std::int32_t status = 0;
  AdtsInput input;
  std::string out;                  // the console's standard output
  std::optional<FatalError> error;  // the error exit, when the scan took it
};

// Scans bytes as a file of size bytes (their own size by default).
inline Scanned scan_bytes(std::string_view bytes, std::optional<std::uint64_t> size = {},
                          int fail_after = -1) {
  MemorySource source(bytes, fail_after);
  Console console = captured_console();
  Scanned s;
  try {
    s.status = scan_adts_stream(source, size.value_or(bytes.size()), s.input, console);
  } catch (const FatalError& e) {
    s.error = e;
  }
  s.out = console.captured_out();
  return s;
}

}  // namespace sarnik::test
