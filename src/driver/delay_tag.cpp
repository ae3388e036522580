#include "driver/delay_tag.hpp"

#include <limits>

#include "common/ascii.hpp"
#include "common/settings.hpp"

namespace sarnik {

bool fits_int32(std::int64_t magnitude, bool negative) {
  constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
  return magnitude <= (negative ? kInt32Max + 1 : kInt32Max);
}

Derivation refused(Msg why) {
  Derivation d;
  d.failure = why;
  return d;
}

Derivation accepted(std::int64_t delay, std::string_view name, std::size_t kept,
                    std::size_t resumed) {
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

DelayTag find_delay_tag(std::string_view name) {
  DelayTag last;
  std::size_t i = 0;
  while (i < name.size()) {
    const char c = name[i];
    if (c != '-' && !is_digit(c)) {
      ++i;
      continue;
    }
    // A number: an optional '-', then digits. The byte after it is taken
    // with it, and so is the one after an 'm', whether or not they make a
    // tag: neither can start the next number.
    const bool negative = c == '-';
    const Digits digits = read_digits(name, negative ? i + 1 : i);
    const std::size_t m = digits.end;
    if (m + 1 < name.size() && ascii_lower(name[m]) == 'm' && ascii_lower(name[m + 1]) == 's') {
      last.found = true;
      last.start = i;
      last.end = m + 1;
      last.value = negative ? -digits.magnitude : digits.magnitude;
      last.out_of_range = !fits_int32(digits.magnitude, negative);
    }
    i = m < name.size() && ascii_lower(name[m]) == 'm' ? m + 2 : m + 1;
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

}  // namespace sarnik
