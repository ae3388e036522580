// Writes the selected frames into the output file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "adts/scanner.hpp"
#include "common/console.hpp"
#include "common/records.hpp"
#include "output/copy_plan.hpp"
#include "platform/file.hpp"

namespace sarnik {

// Writes the ranges in list order, one copy per range and input touched,
// straight from the input files as they were scanned (files[i] is input i,
// scanned without skipped bytes), prints the range texts and the summary,
// and closes output; does nothing for an empty list. An input that changed
// since its scan stops through the error exit before anything is copied; so
// does a failed write or close, or a failed read.
void write_output(const std::vector<AdtsInput>& inputs, std::vector<InputFile>& files,
                  const std::vector<CutRange>& ranges, platform::File& output, Console& console);

}  // namespace sarnik
