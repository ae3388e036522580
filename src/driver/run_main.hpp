// The run: the steps from the banner to the exit code, and the one error exit.
#pragma once

#include <cstdint>
#include <vector>

#include "adts/input_file.hpp"
#include "common/console.hpp"
#include "driver/revision.hpp"

namespace sarnik {

// Runs the whole job once and returns the process exit code: 0 after
// completion, help or the not-editable stop, 1 after an error.
int run_main(int argc, const char* const* argv, const Revision& revision, Console& console);

// The number of frames of all inputs joined. Fails through the error exit
// when the sum does not fit a 32-bit signed frame number.
std::int32_t total_frame_count(const std::vector<InputFile>& inputs);

}  // namespace sarnik
