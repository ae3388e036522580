// Bytes in memory as a file, a console keeping the CP932 bytes, a scan, the fuzzer's check.
#pragma once

#include <cstdio>
#include <optional>

#include "adts/scanner.hpp"
#include "common/fail.hpp"

namespace sarnik::test {

struct MemorySource final : ByteSource {
  explicit MemorySource(std::string_view data) : bytes(data) {}
  const std::uint8_t* view(std::uint64_t offset, std::size_t n) override {
    if (offset > bytes.size() || n > bytes.size() - offset) return nullptr;
    return reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset;
  }
  std::string_view bytes;
};

struct CapturedConsole final : ConsoleSink {  // errors are thrown, not written
  TextEncoding encoding(platform::StdStream) const override { return {}; }
  bool shows_at_once() const override { return false; }
  bool write(platform::StdStream, std::string_view bytes) override {
    text += bytes;
    return true;
  }
  const std::string& out() {  // everything written so far
    console.flush();
    return text;
  }
  std::string text;
  Console console{*this};
};

struct Scanned {
  std::optional<ScanResult> status;  // none when the scan took the error exit
  AdtsInput input;
  std::string out, error;  // the standard output; the error exit's message
};
// A scan of bytes (taken as a file of size bytes) as a test sees it.
inline Scanned scan_bytes(std::string_view bytes, std::optional<std::uint64_t> size = {}) {
  MemorySource source(bytes);
  CapturedConsole captured;
  Scanned s;
  try {
    s.status = scan_adts_stream(source, size.value_or(bytes.size()), s.input, captured.console);
  } catch (const FatalError& e) {
    s.error = text(e.message);
  }
  s.out = captured.out();
  return s;
}

}  // namespace sarnik::test

// An invariant of the fuzz targets: a broken one aborts, and libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                  \
  ((condition) ? void()                                                                        \
               : (std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition), \
                  std::abort()))
