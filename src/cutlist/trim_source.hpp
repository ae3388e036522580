// The -t argument: inline Trim text or an AviSynth script file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/console.hpp"
#include "cutlist/trim_text.hpp"
#include "platform/file.hpp"

namespace sarnik {

// Whether the argument is inline Trim text: its first five bytes, lowercased,
// are "trim(" (tested before any blank is removed).
bool is_inline_trim_text(std::string_view argument);

struct TrimSource {
  std::vector<TrimCall> calls;             // none without a usable call
  std::optional<platform::FileId> script;  // the script file read, if any
};

// The calls of the -t argument, none when there is none: of the inline text,
// or of the script file it names, read whole and closed (a UTF-8 byte order
// mark at its start is skipped). Stops through the error exit when the script
// cannot be opened or read, or is larger than any cut list.
TrimSource read_trim_source(const std::optional<std::string>& argument);

// Prints the video frames of each call, first and last or first and "end",
// one call a line; "0 end" without a call, the whole stream as a run takes it.
void print_video_ranges(std::vector<TrimCall> calls, Console& console);

}  // namespace sarnik
