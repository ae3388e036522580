// Writes the selected frames into the output file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/console.hpp"
#include "common/records.hpp"
#include "output/copy_plan.hpp"
#include "platform/file.hpp"

namespace sarnik {

// Writes the ranges in list order, one copy per range and input touched,
// straight from the input files (names[i] is input i, scanned without
// skipped bytes), prints the range texts and the summary, and closes output.
// Returns 0 at once for an empty list, else 1. A failed write or close, a
// failed read, or an input that changed since its scan stops through the
// error exit.
//
// written_ahead, when given, lists the blocks that output already starts
// with (copied while the inputs were scanned); those of them that are
// wanted are kept, the bytes after them are cut off, and the rest is copied.
// The console text, and the output at any stop, are the same as without.
std::int32_t write_output(const std::vector<AdtsInput>& inputs,
                          const std::vector<std::string>& names,
                          const std::vector<CutRange>& ranges, platform::File& output,
                          Console& console,
                          const std::vector<CopyBlock>* written_ahead = nullptr);

}  // namespace sarnik
