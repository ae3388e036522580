// The revision built and the values set by the command line, read by every
// later step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sarnik {

// Position of the first character of text that matches one of set without
// regard to case, or the length of text when none does (StrCSpnIA).
using CaseInsensitiveSpan = std::size_t (*)(const char* text, const char* set);

// Which revision of the program this build is. The add 2 revision differs in
// its banner, its delay shift and its -x rule.
struct Revision {
  int add = 3;
  // Used by the add 2 -x rule only.
  CaseInsensitiveSpan span_excluding = nullptr;
};

inline constexpr int kMaxInputs = 16;
inline constexpr std::int32_t kFrameRate2997 = 29970;
inline constexpr std::int32_t kFrameRate5994 = 59940;
// The derived-name buffer holds 259 bytes and a terminator.
inline constexpr std::size_t kMaxDerivedNameLength = 259;

struct RunSettings {
  std::vector<std::string> input_names;       // command-line order, at most 16
  std::optional<std::string> output_name;     // none: report only; -x derives it
  std::optional<std::string> trim_argument;   // Trim text or script file name
  std::int32_t frame_rate = kFrameRate2997;   // thousandths of a frame per second
  bool direct_frames = false;                 // -a: Trim numbers are AAC frames
  std::int32_t delay = 0;                     // milliseconds
  bool derive_from_name = false;              // -x
  bool print_ranges = false;                  // --print-ranges: the Trim calls' video frames

  std::int32_t input_count() const { return static_cast<std::int32_t>(input_names.size()); }
};

}  // namespace sarnik
