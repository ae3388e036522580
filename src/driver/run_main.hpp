#pragma once

#include "common/console.hpp"
#include "driver/revision.hpp"

namespace sarnik {

// Runs the whole job once and returns the process exit code: 0 after
// completion, help or the not-editable stop, 1 after an error.
int run_main(int argc, const char* const* argv, const Revision& revision, Console& console);

}  // namespace sarnik
