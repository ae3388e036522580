// The command line: options, input names, the usage text and -x.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/console.hpp"
#include "common/settings.hpp"
#include "driver/revision.hpp"

namespace sarnik {

// Thrown after the usage text was printed on request (no argument, -h, -?):
// the run ends with exit code 0.
struct UsageShown {};

// Fills settings from the arguments (argv[0] is the program). Returns 1 when
// the settings are usable, 0 when the command line is invalid. Prints the
// usage text and throws UsageShown on request; stops through the error exit
// for a 17th input and for a -x name that yields no usable derivation.
std::int32_t parse_command_line(RunSettings& settings, int argc, const char* const* argv,
                                const Revision& revision, Console& console);

void print_usage(Console& console);

// The -d value check: an optional sign, then only digits, at most 7
// characters in all. A lone sign passes.
bool is_valid_delay_value(std::string_view value);

}  // namespace sarnik
