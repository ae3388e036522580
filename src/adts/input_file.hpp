// An input file of a run: opened, scanned, and held open until its frames
// are copied.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "adts/scanner.hpp"
#include "common/console.hpp"
#include "common/records.hpp"
#include "platform/file.hpp"

namespace sarnik {

// One input after its scan: its name, the open file, what the file was when
// the scan began (its stamp), its frames and the scan's verdict. The frames
// are copied from the very file that was scanned, and only while it is
// unchanged.
class InputFile {
 public:
  const std::string& name() const { return name_; }
  const AdtsInput& frames() const { return frames_; }
  ScanResult result() const { return result_; }

  // Stops through the error exit when the file is not what its scan saw:
  // written to since, in place or grown or cut.
  void verify_unchanged() const;

  // Copies frames [first, end) to output at its position and returns their
  // bytes. Stops through the error exit when the file ends before them (it
  // changed) or a read or the write fails. buffer is as copy_range says.
  std::uint64_t copy_frames(std::uint32_t first, std::uint32_t end, platform::File& output,
                            std::vector<char>& buffer);

  // Frame k's bytes as the scan stored them, read from the file; stops
  // through the error exit as copy_frames does.
  std::vector<std::uint8_t> read_frame(std::uint32_t k);

 private:
  friend InputFile scan_adts_file(std::string name, Console& console);
  InputFile() = default;

  std::string name_;
  platform::File file_;
  platform::FileStamp stamp_;
  AdtsInput frames_;
  ScanResult result_ = ScanResult::clean;
};

// Opens the file name, left open, and scans it (scan_adts_stream). Stops
// through the error exit when the file cannot be opened or is not a regular
// file (a pipe or a device cannot be read a second time for the copy).
InputFile scan_adts_file(std::string name, Console& console);

}  // namespace sarnik
