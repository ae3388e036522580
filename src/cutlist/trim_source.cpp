#include "cutlist/trim_source.hpp"

#include "common/ascii.hpp"
#include "common/fail.hpp"
#include "platform/names.hpp"

namespace sarnik {
namespace {

constexpr std::size_t kReadBlockSize = 32768;
// A cut list is a few lines; more than this is no script.
constexpr std::uint64_t kLargestScript = std::uint64_t{64} << 20;
// Editors on Windows begin a UTF-8 script with it.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The script's text, normalised. Reads to the end of the file whatever its
// size says, so that a pipe, a FIFO or a device is read whole too.
std::string read_script_text(platform::File& script) {
  std::string block(kReadBlockSize, '\0');
  std::string text;
  std::uint64_t total = 0;
  for (;;) {
    std::size_t got = 0;
    if (!script.read(block.data(), block.size(), got)) fail_and_exit(Msg::script_read_failed);
    if (got == 0) break;
    std::string_view bytes(block.data(), got);
    // A read returns less than asked only at the end: the mark is whole.
    if (total == 0 && bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
      bytes.remove_prefix(kByteOrderMark.size());
    }
    total += got;
    if (total > kLargestScript) fail_and_exit(Msg::script_too_large);
    append_script_bytes(text, bytes);
  }
  return text;
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

TrimSource read_trim_source(const std::optional<std::string>& argument) {
  TrimSource source;
  if (!argument || argument->empty()) return source;
  if (is_inline_trim_text(*argument)) {
    source.calls = read_trim_calls(normalise_inline_text(platform::name_rule_bytes(*argument)));
    return source;
  }
  platform::File script;
  if (!script.open_read(argument->c_str())) fail_and_exit(Msg::script_read_failed);
  platform::FileId id;
  if (script.identity(id)) source.script = id;
  source.calls = read_trim_calls(read_script_text(script));
  return source;
}

void print_video_ranges(std::vector<TrimCall> calls, Console& console) {
  if (calls.empty()) calls.push_back(TrimCall{0, kToStreamEnd});
  for (const TrimCall& call : calls) {
    if (call.end == kToStreamEnd) {
      console.out(Msg::video_range_to_end, {call.first});
    } else {
      console.out(Msg::video_range, {call.first, call.end - 1});
    }
  }
}

}  // namespace sarnik
