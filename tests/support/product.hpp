// Bytes in memory as a file, a console keeping the CP932 bytes a capture holds, a scan of bytes,
// the fuzzer's check.
#pragma once

#include <cstdio>
#include <optional>

#include "adts/scanner.hpp"

namespace sarnik::test {

struct MemorySource final : ByteSource {  // every view after the first fail_after ones fails
  MemorySource(std::string_view data, int limit) : bytes(data), fail_after(limit) {}
  const std::uint8_t* view(std::uint64_t offset, std::size_t n) override {
    const bool failing = fail_after >= 0 && views++ >= fail_after;
    if (failing || offset > bytes.size() || n > bytes.size() - offset) return nullptr;
    return reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset;
  }
  std::string_view bytes;
  int fail_after, views = 0;
};

struct CapturedConsole final : ConsoleSink {  // of the standard output; errors are thrown
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
// A scan of bytes (of size bytes, the source failing after fail_after views) as a test sees it.
inline Scanned scan_bytes(std::string_view bytes, std::optional<std::uint64_t> size = {},
                          int fail_after = -1) {
  MemorySource source(bytes, fail_after);
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
