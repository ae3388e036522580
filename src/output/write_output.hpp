// Writes the selected frames into the output file.
#pragma once

#include <cstdint>
#include <vector>

#include "common/console.hpp"
#include "common/records.hpp"
#include "platform/file.hpp"

namespace sarnik {

// Writes the ranges in list order, one write per range and input touched,
// prints the range texts and the summary, and closes output. Returns 0 at
// once for an empty list, else 1. A failed write or close stops through the
// error exit.
std::int32_t write_output(const std::vector<AdtsInput>& inputs, const std::vector<CutRange>& ranges,
                          platform::File& output, Console& console);

}  // namespace sarnik
