// Writes the selected frames into the output file.
#pragma once

#include <vector>

#include "adts/input_file.hpp"
#include "common/console.hpp"
#include "common/records.hpp"
#include "output/output_file.hpp"

namespace sarnik {

// Writes the ranges in list order, one copy per range and input touched,
// straight from the input files as they were scanned (without skipped
// bytes), and prints the range texts and the summary; does nothing for an
// empty list. An input that changed since its scan stops through the error
// exit, before anything is copied or, when it changed during the copy,
// before the summary; so does a failed write or read, or an output that the
// system fails to settle (OutputFile::settle), which the summary follows.
// From the copy on, an interrupt empties the output.
void write_output(std::vector<InputFile>& inputs, const std::vector<CutRange>& ranges,
                  OutputFile& output, Console& console);

}  // namespace sarnik
