// Splits an input file into its ADTS frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/console.hpp"
#include "common/records.hpp"
#include "platform/file.hpp"

namespace sarnik {

inline constexpr std::int32_t kScanClean = 1;     // every frame followed its predecessor
inline constexpr std::int32_t kScanSkipped = 2;   // bytes were skipped at least once

// Where the scanner's bytes come from: a file, or memory in tests.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to n bytes at the current position; got < n only at the end.
  // False on a read error.
  virtual bool read(std::uint8_t* buffer, std::size_t n, std::size_t& got) = 0;
  virtual bool seek(std::uint64_t position) = 0;
  // Reads exactly n bytes at the current position and returns where they
  // are, valid until the next call; nullptr on a read error or when fewer
  // than n bytes remain. Reads into a buffer of its own unless a source
  // holds the bytes already.
  virtual const std::uint8_t* view(std::size_t n);

 private:
  std::vector<std::uint8_t> view_buffer_;
};

// An input file opened for its scan and kept open until its frames are
// copied, so that they are copied from the very file that was scanned; the
// stamp is what the file was when the scan began.
struct InputFile {
  platform::File file;
  platform::FileStamp stamp;
};

// Scans size bytes of source from position 0 into input (which must be
// empty). Prints a line for each place where bytes had to be skipped after a
// frame. Returns kScanClean or kScanSkipped; stops through the error exit
// when the stream holds no frame, when no header follows within the
// resynchronisation window, or when the source fails or ends early.
std::int32_t scan_adts_stream(ByteSource& source, std::uint64_t size, AdtsInput& input,
                              Console& console);

// Opens the file name into file, left open, and scans it into input.
// Returns 0, doing nothing, when name or input is missing. Stops through the
// error exit when the file cannot be opened or is not a regular file (a
// pipe or a device cannot be read a second time for the copy).
std::int32_t scan_adts_file(const char* name, AdtsInput* input, Console& console,
                            InputFile& file);

}  // namespace sarnik
