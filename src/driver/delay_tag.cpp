#include "driver/delay_tag.hpp"

#include <algorithm>
#include <limits>

#include "common/ascii.hpp"
#include "common/settings.hpp"

namespace sarnik {
namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
// Magnitudes are kept up to one past the largest negative 32-bit value, so
// that the accumulation itself can never overflow.
constexpr std::int64_t kMagnitudeCap = kInt32Max + 2;

std::int64_t accumulate_digit(std::int64_t value, char digit) {
  return std::min(value * 10 + (digit - '0'), kMagnitudeCap);
}

bool fits_int32(std::int64_t magnitude, bool negative) {
  return magnitude <= (negative ? kInt32Max + 1 : kInt32Max);
}

Derivation refused(Msg why) {
  Derivation d;
  d.failure = why;
  return d;
}

Derivation accepted(std::int64_t delay, std::string_view name, std::size_t kept, std::size_t resumed) {
  std::string derived(name.substr(0, kept));
  derived += "0ms";
  derived += name.substr(resumed);
  if (derived.size() > kMaxDerivedNameLength) return refused(Msg::derived_name_too_long);
  Derivation d;
  d.ok = true;
  d.delay = static_cast<std::int32_t>(delay);
  d.output_name = std::move(derived);
  d.kept = kept;
  d.resumed = resumed;
  return d;
}

// The standard decimal conversion: leading white space, an optional sign,
// then digits up to the first other character.
struct Decimal {
  std::int64_t value = 0;
  bool fits = true;
};

Decimal convert_decimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t magnitude = 0;
  for (; i < text.size() && is_digit(text[i]); ++i) magnitude = accumulate_digit(magnitude, text[i]);
  return Decimal{negative ? -magnitude : magnitude, fits_int32(magnitude, negative)};
}

}  // namespace

DelayTag find_delay_tag(std::string_view name) {
  enum class State { idle, number, after_m };
  State state = State::idle;
  DelayTag last;
  bool negative = false;
  std::int64_t magnitude = 0;
  std::size_t start = 0;

  for (std::size_t i = 0; i < name.size(); ++i) {
    const char c = ascii_lower(name[i]);
    switch (state) {
      case State::idle:
        if (c == '-' || is_digit(c)) {
          negative = c == '-';
          magnitude = negative ? 0 : c - '0';
          start = i;
          state = State::number;
        }
        break;
      case State::number:
        if (is_digit(c)) {
          magnitude = accumulate_digit(magnitude, c);
        } else {
          state = c == 'm' ? State::after_m : State::idle;
        }
        break;
      case State::after_m:
        if (c == 's') {
          last.found = true;
          last.start = start;
          last.end = i;
          last.value = negative ? -magnitude : magnitude;
          last.out_of_range = !fits_int32(magnitude, negative);
        }
        state = State::idle;
        break;
    }
  }
  return last;
}

Derivation derive_add3(std::string_view name) {
  const DelayTag tag = find_delay_tag(name);
  if (!tag.found) return refused(Msg::x_tag_missing);
  if (tag.out_of_range) return refused(Msg::x_tag_out_of_range);
  if (tag.value == 0) return refused(Msg::x_overwrite_stop);
  return accepted(tag.value, name, tag.start, tag.end + 1);
}

Derivation derive_add2(const std::string& name, CaseInsensitiveSpan span_excluding) {
  // The delay text buffer holds 14 characters; a longer text is cut there.
  constexpr std::size_t kDelayTextCapacity = 14;

  const std::size_t length = name.size();
  const std::size_t y = std::min(span_excluding(name.c_str(), "Y"), length);
  const std::size_t m = std::min(span_excluding(name.c_str(), "M"), length);
  if (y == length) return refused(Msg::x_tag_missing);

  const std::size_t text_start = y + 2;
  std::string_view delay_text;
  if (m > text_start) delay_text = std::string_view(name).substr(text_start, m - text_start);
  delay_text = delay_text.substr(0, kDelayTextCapacity);
  const Decimal delay = convert_decimal(delay_text);
  if (!delay.fits) return refused(Msg::x_tag_out_of_range);

  // The rest of the name starts two characters after the 'm'; a name that
  // ends before that has no rest.
  return accepted(delay.value, name, std::min(text_start, length), std::min(m + 2, length));
}

}  // namespace sarnik
