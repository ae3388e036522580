// -x: the output name and the delay taken from the first input's name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/messages.hpp"

namespace sarnik {

// A delay tag "<number>ms" (add 3 rule). start is the position of the
// number's first character (a '-' or a digit), end that of the 's'.
struct DelayTag {
  bool found = false;
  std::size_t start = 0;
  std::size_t end = 0;
  std::int64_t value = 0;
  bool out_of_range = false;  // the number does not fit 32 bits
};

// The last delay tag of name; its 'm' and 's' may be upper or lower case.
DelayTag find_delay_tag(std::string_view name);

struct Derivation {
  bool ok = false;
  Msg failure = Msg::x_tag_missing;  // when !ok
  std::int32_t delay = 0;
  // The output name: the name's first `kept` bytes, "0ms", and the name from
  // byte `resumed` on.
  std::string output_name;
  std::size_t kept = 0;
  std::size_t resumed = 0;
};

// The add 3 rule: the last tag's number is the delay; the output name is the
// input name with the tag replaced by "0ms".
Derivation derive_add3(std::string_view name);

// The add 2 rule: the text between the second character after the first 'y'
// and the first 'm' is the delay; the output name is the name up to that
// second character, "0ms", and the name from the second character after the
// 'm' on. Linked into the add 2 revision alone.
Derivation derive_add2(std::string_view name);

// For both rules: whether a number of that magnitude and sign fits 32 bits;
// a refusal; the derivation of the delay and the output name, refused when
// the name does not fit.
bool fits_int32(std::int64_t magnitude, bool negative);
Derivation refused(Msg why);
Derivation accepted(std::int64_t delay, std::string_view name, std::size_t kept,
                    std::size_t resumed);

}  // namespace sarnik
