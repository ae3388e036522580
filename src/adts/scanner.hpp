// Splits an input's bytes into its ADTS frames.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/console.hpp"
#include "common/records.hpp"

namespace sarnik {

// The scanner examines its input in blocks of this many bytes (the last one
// shorter).
inline constexpr std::size_t kScanBlockSize = 32768;

// Where the scanner's bytes come from: a file, or memory in tests.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The n bytes (at most kScanBlockSize) from offset on, valid until the next
  // call; nullptr on a read error or when the source ends before them.
  virtual const std::uint8_t* view(std::uint64_t offset, std::size_t n) = 0;
};

// A scan's verdict: every frame followed its predecessor, or bytes had to be
// skipped at least once (the input may have dropped frames and is not
// edited).
enum class ScanResult { clean, skipped };

// Scans size bytes of source from offset 0 into input (which must be empty).
// Prints a line for each place where bytes had to be skipped after a frame.
// Stops through the error exit when the stream holds no frame, when no
// header follows within the resynchronisation window, or when the source
// fails or ends early.
ScanResult scan_adts_stream(ByteSource& source, std::uint64_t size, AdtsInput& input,
                            Console& console);

}  // namespace sarnik
