#include "cutlist/trim_text.hpp"

#include <optional>

#include "common/ascii.hpp"

namespace sarnik {
namespace {

constexpr std::string_view kTrimCall = "trim(";
// A number of 8 or more characters ends the reading.
constexpr std::size_t kMaxNumberLength = 7;

// The length of the run of digits and '-' from position from on.
std::size_t signed_run_length(std::string_view text, std::size_t from) {
  std::size_t i = from;
  while (i < text.size() && (is_digit(text[i]) || text[i] == '-')) ++i;
  return i - from;
}

// The second number: an optional leading '-', then the digits up to the
// first other byte; 0 when there is no digit. At most 7 characters, so the
// magnitude fits.
std::int32_t signed_value(std::string_view run) {
  const bool negative = !run.empty() && run[0] == '-';
  const auto magnitude = static_cast<std::int32_t>(read_digits(run, negative ? 1 : 0).magnitude);
  return negative ? -magnitude : magnitude;
}

struct Call {
  TrimCall call;
  std::size_t end_of_second = 0;  // text position after the second number
};

// The call whose "trim(" starts at p, or none when it is malformed.
std::optional<Call> read_call(std::string_view text, std::size_t p) {
  const std::size_t first_at = p + kTrimCall.size();
  const Digits first = read_digits(text, first_at);
  const std::size_t first_length = first.end - first_at;
  if (first_length == 0 || first_length > kMaxNumberLength) return std::nullopt;
  const std::size_t comma = first_at + first_length;
  if (comma >= text.size() || text[comma] != ',') return std::nullopt;
  const std::size_t second_at = comma + 1;
  if (second_at >= text.size()) return std::nullopt;
  const std::size_t second_length = signed_run_length(text, second_at);
  if (second_length == 0 || second_length > kMaxNumberLength) return std::nullopt;

  Call c;
  c.call.first = static_cast<std::int32_t>(first.magnitude);
  c.end_of_second = second_at + second_length;
  const std::int32_t second = signed_value(text.substr(second_at, second_length));
  if (second != 0) {
    // A negative second number is a length, a positive one the last frame;
    // a last frame before the first leaves the first frame alone.
    c.call.end = second < 0 ? c.call.first - second : second + 1;
    if (c.call.end <= c.call.first) c.call.end = c.call.first + 1;
  }
  return c;
}

}  // namespace

void append_script_bytes(std::string& text, std::string_view bytes) {
  for (char c : bytes) {
    if (c == '\r' || c == ' ' || c == '\t') continue;
    text.push_back(ascii_lower(c));
  }
}

std::string normalise_inline_text(std::string_view argument) {
  std::string text;
  text.reserve(argument.size());
  for (char c : argument) {
    if (c == ' ' || c == '\t') continue;
    text.push_back(ascii_lower(c));
  }
  return text;
}

std::vector<TrimCall> read_trim_calls(std::string_view text) {
  std::vector<TrimCall> calls;
  std::size_t p = 0;
  while (p < text.size()) {
    if (text.substr(p, kTrimCall.size()) == kTrimCall) {
      const std::optional<Call> c = read_call(text, p);
      if (!c) break;
      calls.push_back(c->call);
      const std::size_t close = text.find(')', c->end_of_second);
      p = (close == std::string_view::npos ? text.size() : close) + 1;
    } else if (text.substr(p, 2) == "\n\\") {
      p += 2;  // a line that begins with a backslash continues the line before
    } else if (text[p] == '+') {
      p += 1;
    } else if (!calls.empty()) {
      break;
    } else {
      const std::size_t newline = text.find('\n', p);
      p = newline == std::string_view::npos ? text.size() : newline + 1;
    }
  }
  return calls;
}

}  // namespace sarnik
