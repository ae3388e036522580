#include "cutlist/trim_source.hpp"

#include <algorithm>

#include "common/ascii.hpp"
#include "common/fail.hpp"
#include "cutlist/trim_text.hpp"
#include "platform/names.hpp"

namespace sarnik {
namespace {

constexpr std::size_t kReadBlockSize = 32768;
// A cut list is a few lines; more than this is no script.
constexpr std::uint64_t kLargestScript = std::uint64_t{64} << 20;

// Reads the script's text, normalised, into text and closes the script.
// Reads to the end of the file whatever its size says, so that a pipe, a
// FIFO or a device is read whole too; stops through the error exit when a
// read fails or the script is larger than any cut list.
void read_script_text(platform::File& script, std::string& text) {
  std::string block(kReadBlockSize, '\0');
  std::uint64_t total = 0;
  for (;;) {
    std::size_t got = 0;
    if (!script.read(block.data(), block.size(), got)) fail_and_exit(Msg::script_read_failed);
    if (got == 0) break;
    total += got;
    if (total > kLargestScript) fail_and_exit(Msg::script_too_large);
    append_script_bytes(text, std::string_view(block.data(), got));
  }
  // Everything is read: a file only read loses nothing when its close fails.
  static_cast<void>(script.close());
}

}  // namespace

bool is_inline_trim_text(std::string_view argument) {
  constexpr std::string_view kCall = "trim(";
  if (argument.size() < kCall.size()) return false;
  for (std::size_t i = 0; i < kCall.size(); ++i) {
    if (ascii_lower(argument[i]) != kCall[i]) return false;
  }
  return true;
}

void open_trim_source(const std::optional<std::string>& argument, platform::File& script) {
  if (!argument || argument->empty() || is_inline_trim_text(*argument)) return;
  if (!script.open_read(argument->c_str())) fail_and_exit(Msg::script_read_failed);
}

TrimText load_trim_text(const RunSettings& settings, platform::File& script) {
  TrimText trim;
  if (!settings.trim_argument) return trim;
  trim.present = true;
  if (script.is_open()) {
    read_script_text(script, trim.text);
  } else {
    trim.text = normalise_inline_text(platform::name_rule_bytes(*settings.trim_argument));
  }
  return trim;
}

void read_trim_ranges(const RunSettings& settings, const TrimText& trim,
                      std::int32_t total_frames, std::int64_t delay_shift,
                      std::vector<CutRange>& ranges) {
  if (!trim.present) return;
  const TrimContext context{
      FrameMapping{settings.frame_rate, settings.direct_frames, settings.delay}, total_frames,
      delay_shift};
  parse_trim_text(trim.text, context, ranges);
}

}  // namespace sarnik
