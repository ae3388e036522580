// Trim text: normalisation, and the calls of its first Trim line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sarnik {

// The end of a call that runs to the end of the stream (Trim(n,0)).
inline constexpr std::int32_t kToStreamEnd = 0;

// One Trim call in the script's own (video) frame numbers: frames first up to
// end, exclusive, or from first to the end of the stream.
struct TrimCall {
  std::int32_t first = 0;
  std::int32_t end = kToStreamEnd;  // above first unless kToStreamEnd
  friend bool operator==(const TrimCall&, const TrimCall&) = default;
};

// Appends bytes of a script file to text: CR, space and TAB are dropped,
// 'A' to 'Z' lowercased, everything else kept.
void append_script_bytes(std::string& text, std::string_view bytes);

// Inline Trim text: space and TAB are dropped (CR and LF kept), 'A' to 'Z'
// lowercased.
std::string normalise_inline_text(std::string_view argument);

// The calls of the first line of normalised text that begins with a Trim
// call, joined by '+', and of its continuation lines (those beginning with a
// backslash). Lines before it are skipped; a malformed call ends the reading,
// keeping the calls before it.
std::vector<TrimCall> read_trim_calls(std::string_view text);

}  // namespace sarnik
