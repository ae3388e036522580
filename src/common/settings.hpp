// The values set by the command line, read by every later step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sarnik {

inline constexpr int kMaxInputs = 16;
inline constexpr std::int32_t kFrameRate2997 = 29970;
inline constexpr std::int32_t kFrameRate5994 = 59940;
// The longest output name that -x may derive, in bytes; a longer one is refused.
inline constexpr std::size_t kMaxDerivedNameLength = 259;

struct RunSettings {
  std::vector<std::string> input_names;      // command-line order, at most 16
  std::optional<std::string> output_name;    // none: report only; -x derives it
  std::optional<std::string> trim_argument;  // Trim text or script file name
  std::int32_t frame_rate = kFrameRate2997;  // thousandths of a frame per second
  bool direct_frames = false;                // -a: Trim numbers are AAC frames
  std::int32_t delay = 0;                    // milliseconds
  bool derive_from_name = false;             // -x
  bool print_ranges = false;                 // --print-ranges: the Trim calls' video frames
  bool demux = false;                        // --demux: the audio of the recording input_names[0]

  std::int32_t input_count() const { return static_cast<std::int32_t>(input_names.size()); }
};

}  // namespace sarnik
