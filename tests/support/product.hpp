// The program's code as the unit tests and the fuzzers reach it: one source
// of bytes in memory, one way to scan bytes, one captured console.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "adts/scanner.hpp"
#include "common/console.hpp"
#include "common/fail.hpp"
#include "support/captured_console.hpp"

namespace sarnik::test {

// Bytes served as a file of their size; every view after the first
// fail_after ones fails.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view bytes, int fail_after = -1)
      : bytes_(bytes), fail_after_(fail_after) {}
  const std::uint8_t* view(std::uint64_t offset, std::size_t n) override {
    if (fail_after_ >= 0 && views_++ >= fail_after_) return nullptr;
    if (offset > bytes_.size() || n > bytes_.size() - offset) return nullptr;
    return reinterpret_cast<const std::uint8_t*>(bytes_.data()) + offset;
  }

 private:
  std::string_view bytes_;
  int fail_after_;
  int views_ = 0;
};

struct Scanned {
  std::optional<ScanResult> status;  // none when the scan took the error exit
  AdtsInput input;
  std::string out;                  // the console's standard output
  std::optional<FatalError> error;  // the error exit, when the scan took it
};

// Scans bytes as a file of size bytes (their own size by default).
inline Scanned scan_bytes(std::string_view bytes, std::optional<std::uint64_t> size = {},
                          int fail_after = -1) {
  MemorySource source(bytes, fail_after);
  CapturedConsole captured;
  Scanned s;
  try {
    s.status = scan_adts_stream(source, size.value_or(bytes.size()), s.input, captured.console);
  } catch (const FatalError& e) {
    s.error = e;
  }
  s.out = captured.out();
  return s;
}

}  // namespace sarnik::test
