// Everything one run builds, owned for the whole run.
#pragma once

#include <vector>

#include "adts/scanner.hpp"
#include "common/console.hpp"
#include "common/records.hpp"
#include "common/settings.hpp"
#include "cutlist/trim_source.hpp"
#include "driver/revision.hpp"
#include "platform/file.hpp"

namespace sarnik {

struct RunState {
  RunState(Console& c, const Revision& r) : console(c), revision(r) {}

  Console& console;
  Revision revision;
  RunSettings settings;
  std::vector<AdtsInput> inputs;   // one per input name scanned so far
  std::vector<InputFile> input_files;  // the inputs, open from their scan to the copy
  platform::File output_file;      // created when an output name is set
  platform::File script_file;      // the -t script while it is being read
  TrimText trim_text;              // read before the output is created
  std::vector<CutRange> ranges;
  bool editable = true;
};

// Frees every input and every range.
void release_all(RunState& run);

}  // namespace sarnik
