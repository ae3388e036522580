// The files that --demux writes, from their creation to their close: new
// files only (OutputFile), each removed again when the run fails or is
// interrupted before all of them were kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "output/output_file.hpp"

namespace sarnik {

class DemuxOutputs {
 public:
  // Creates every file. Stops through the error exit when one exists
  // already or cannot be created (the ones created before it removed).
  explicit DemuxOutputs(std::vector<std::string> names);
  ~DemuxOutputs();
  DemuxOutputs(const DemuxOutputs&) = delete;
  DemuxOutputs& operator=(const DemuxOutputs&) = delete;

  // Appends bytes to file i, through a buffer of its own.
  void write(std::size_t i, const std::uint8_t* bytes, std::size_t n);
  // Writes what the buffers hold and closes every file. Stops through the
  // error exit when a write or a close fails.
  void close_all();
  // From now on the files are kept.
  void keep();

 private:
  void flush(std::size_t i);

  std::vector<std::string> names_;  // what an interrupt removes
  std::deque<OutputFile> files_;
  std::vector<std::vector<std::uint8_t>> buffers_;
  bool kept_ = false;
};

}  // namespace sarnik
