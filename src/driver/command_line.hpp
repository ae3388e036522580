// The command line: options, input names, the usage text and -x.
#pragma once

#include <string_view>

#include "common/console.hpp"
#include "common/settings.hpp"
#include "driver/revision.hpp"

namespace sarnik {

// What the command line asks for: a run with the settings, or nothing more
// than the usage text, printed on request.
enum class ParseResult { usable, usage_shown };

// Prints the banner, unless the first argument is --print-ranges (whose text
// is for other programs) or --demux, then fills settings from the arguments
// (argv[0] is the program). Prints the usage text on request (no argument,
// -h, -?) and returns usage_shown. Stops through the error exit for an
// invalid line (with the usage text), a 17th input (likewise) and a -x name
// that yields no usable derivation. After --print-ranges no input or -o is
// taken; after --demux the recording's name alone.
ParseResult parse_command_line(RunSettings& settings, int argc, const char* const* argv,
                               const Revision& revision, Console& console);

void print_usage(Console& console);

// The -d value check: an optional sign, then only digits, at most 7
// characters in all. A lone sign passes.
bool is_valid_delay_value(std::string_view value);

}  // namespace sarnik
