// The -t argument: inline Trim text or an AviSynth script file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/records.hpp"
#include "common/settings.hpp"
#include "platform/file.hpp"

namespace sarnik {

// Whether the argument is inline Trim text: its first five bytes, lowercased,
// are "trim(" (tested before any blank is removed).
bool is_inline_trim_text(std::string_view argument);

// Opens the script file that the argument names into script; does nothing
// for no argument, an empty one or inline text. Stops through the error exit
// when the script file cannot be opened.
void open_trim_source(const std::optional<std::string>& argument, platform::File& script);

// The Trim text of the -t argument, normalised: the inline text, or the
// script's, read whole.
struct TrimText {
  bool present = false;  // a -t argument was given
  std::string text;
};

// Reads the Trim text, closing the script file as soon as it is read. Stops
// through the error exit when the script cannot be read or is too large.
TrimText load_trim_text(const RunSettings& settings, platform::File& script);

// Appends the ranges of the Trim text, none when no -t argument was given.
void read_trim_ranges(const RunSettings& settings, const TrimText& trim,
                      std::int32_t total_frames, std::int64_t delay_shift,
                      std::vector<CutRange>& ranges);

}  // namespace sarnik
