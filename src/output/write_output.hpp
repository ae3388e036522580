// Writes the selected frames into the output file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/console.hpp"
#include "common/records.hpp"
#include "platform/file.hpp"

namespace sarnik {

// Writes the ranges in list order, one copy per range and input touched,
// straight from the input files (names[i] is input i, scanned without
// skipped bytes), prints the range texts and the summary, and closes output.
// Returns 0 at once for an empty list, else 1. A failed write or close, a
// failed read, or an input that changed since its scan stops through the
// error exit.
std::int32_t write_output(const std::vector<AdtsInput>& inputs,
                          const std::vector<std::string>& names,
                          const std::vector<CutRange>& ranges, platform::File& output,
                          Console& console);

}  // namespace sarnik
