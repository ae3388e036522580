// The command line: options, input names, the usage text and -x.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/console.hpp"
#include "common/fail.hpp"
#include "common/settings.hpp"
#include "driver/revision.hpp"

namespace sarnik {

// Whether the first argument asks for the video frame ranges of the Trim
// text (--print-ranges) instead of a run.
bool asks_for_ranges(int argc, const char* const* argv);
// Whether the first argument asks for the audio streams of a recording
// (--demux) instead of a run.
bool asks_for_demux(int argc, const char* const* argv);

// Fills settings from the arguments (argv[0] is the program). Prints the
// usage text on request (no argument, -h, -?) and returns usage_shown;
// stops through the error exit for a 17th input and for a -x name that
// yields no usable derivation. After --print-ranges no input or -o is taken;
// after --demux the recording's name alone.
ParseResult parse_command_line(RunSettings& settings, int argc, const char* const* argv,
                               const Revision& revision, Console& console);

void print_usage(Console& console);

// The -d value check: an optional sign, then only digits, at most 7
// characters in all. A lone sign passes.
bool is_valid_delay_value(std::string_view value);

}  // namespace sarnik
