// The -x rule of the add 2 revision, linked into that revision alone with the
// StrCSpnIA it searches the name with.
#include <algorithm>

#include "common/ascii.hpp"
#include "driver/delay_tag.hpp"
#include "platform/names.hpp"

namespace sarnik {
namespace {

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
  const std::int64_t magnitude = read_digits(text, i).magnitude;
  return Decimal{negative ? -magnitude : magnitude, fits_int32(magnitude, negative)};
}

}  // namespace

Derivation derive_add2(std::string_view name_bytes) {
  // Only the first 14 characters of the delay text are read; a longer text is cut there.
  constexpr std::size_t kDelayTextCapacity = 14;

  const std::string name(name_bytes);  // terminated, for StrCSpnIA
  const std::size_t length = name.size();
  const std::size_t y = std::min(platform::str_cspn_ia(name.c_str(), "Y"), length);
  const std::size_t m = std::min(platform::str_cspn_ia(name.c_str(), "M"), length);
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
