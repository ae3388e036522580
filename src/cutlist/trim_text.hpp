// Trim text: normalisation and parsing into output ranges.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/records.hpp"
#include "cutlist/frame_mapping.hpp"

namespace sarnik {

// Appends bytes of a script file to text: CR, space and TAB are dropped,
// 'A' to 'Z' lowercased, everything else kept.
void append_script_bytes(std::string& text, std::string_view bytes);

// Inline Trim text: space and TAB are dropped (CR and LF kept), 'A' to 'Z'
// lowercased.
std::string normalise_inline_text(std::string_view argument);

struct TrimContext {
  FrameMapping mapping;
  std::int32_t total_frames = 0;  // at least 1
  std::int64_t delay_shift = 0;   // whole AAC frames subtracted from each end
};

// Reads the first line that begins with a Trim call, with its calls joined
// by '+' and its continuation lines (those beginning with a backslash), and
// appends one range per call. Lines before it are skipped; a malformed call
// ends the reading, keeping the ranges before it.
void parse_trim_text(std::string_view text, const TrimContext& context,
                     std::vector<CutRange>& ranges);

}  // namespace sarnik
