#include "cutlist/trim_source.hpp"

#include <algorithm>

#include "common/ascii.hpp"
#include "common/fail.hpp"
#include "cutlist/trim_text.hpp"
#include "platform/names.hpp"

namespace sarnik {
namespace {

constexpr std::size_t kReadBlockSize = 32768;

// Reads the script's text, normalised, into text and closes the script.
// Reading stops at the size taken before the first read, so a file that grows
// meanwhile cannot make the text outgrow the size it was allocated for.
// False when the size or a read fails.
bool read_script_text(platform::File& script, std::string& text) {
  std::uint64_t size = 0;
  if (!script.size(size)) return false;
  text.reserve(static_cast<std::size_t>(size) + 1);
  std::string block(kReadBlockSize, '\0');
  std::uint64_t remaining = size;
  while (remaining > 0) {
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kReadBlockSize, remaining));
    std::size_t got = 0;
    if (!script.read(block.data(), want, got)) return false;
    if (got == 0) break;
    append_script_bytes(text, std::string_view(block.data(), got));
    remaining -= got;
  }
  script.close();
  return true;
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

std::int32_t open_trim_source(const std::optional<std::string>& argument, platform::File& script) {
  if (!argument || argument->empty()) return 0;
  if (is_inline_trim_text(*argument)) return 1;
  if (!script.open_read(argument->c_str())) fail_and_exit(Msg::script_read_failed);
  return 1;
}

TrimText load_trim_text(const RunSettings& settings, platform::File& script) {
  TrimText trim;
  if (!settings.trim_argument) return trim;
  trim.present = true;
  if (script.is_open()) {
    trim.read_failed = !read_script_text(script, trim.text);
  } else {
    trim.text = normalise_inline_text(platform::name_rule_bytes(*settings.trim_argument));
  }
  return trim;
}

std::int32_t read_trim_ranges(const RunSettings& settings, const TrimText& trim,
                              std::int32_t total_frames, std::int64_t delay_shift,
                              std::vector<CutRange>& ranges) {
  if (!trim.present) return 0;
  if (trim.read_failed) fail_and_exit(Msg::script_read_failed);
  const TrimContext context{
      FrameMapping{settings.frame_rate, settings.direct_frames, settings.delay}, total_frames,
      delay_shift};
  parse_trim_text(trim.text, context, ranges);
  return ranges.empty() ? 0 : 1;
}

}  // namespace sarnik
