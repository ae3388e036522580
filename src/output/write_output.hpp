// Writes the selected frames into the output file.
#pragma once

#include <vector>

#include "adts/scanner.hpp"
#include "common/console.hpp"
#include "common/records.hpp"
#include "platform/file.hpp"
#include "platform/interrupts.hpp"
#include "platform/std_streams.hpp"

namespace sarnik {

// Writes the ranges in list order, one copy per range and input touched,
// straight from the input files as they were scanned (without skipped
// bytes), and prints the range texts and the
// summary; does nothing for an empty list. An input that changed since its
// scan stops through the error exit, before anything is copied or, when it
// changed during the copy, before the summary; so does a failed write or
// read, or an output that the system fails to settle (File::settle), which
// the summary follows. From the copy on, an interrupt empties the output
// (empty_on_interrupt).
void write_output(std::vector<ScannedInput>& inputs, const std::vector<CutRange>& ranges,
                  platform::File& output, Console& console);

}  // namespace sarnik
