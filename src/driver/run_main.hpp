// The run: everything it builds, owned for the whole run, and the steps from
// the banner to the exit code.
#pragma once

#include <cstdint>
#include <vector>

#include "adts/scanner.hpp"
#include "common/console.hpp"
#include "common/records.hpp"
#include "common/settings.hpp"
#include "cutlist/trim_source.hpp"
#include "platform/file.hpp"

namespace sarnik {

struct RunState {
  RunState(Console& c, const Revision& r) : console(c), revision(r) {}

  Console& console;
  Revision revision;
  RunSettings settings;
  std::vector<AdtsInput> inputs;       // one per input name scanned so far
  std::vector<InputFile> input_files;  // the inputs, open from their scan to the copy
  platform::File output_file;          // created when an output name is set
  TrimSource trim;                     // read before the output is created
  std::vector<CutRange> ranges;
  bool editable = true;
};

// Runs the whole job once and returns the process exit code: 0 after
// completion, help or the not-editable stop, 1 after an error.
int run_main(int argc, const char* const* argv, const Revision& revision, Console& console);

// Frees every input and every range.
void release_all(RunState& run);

// The number of frames of all inputs joined. Fails through the error exit
// when the sum does not fit a 32-bit signed frame number.
std::int32_t total_frame_count(const std::vector<AdtsInput>& inputs);

}  // namespace sarnik
