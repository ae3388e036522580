// What differs between the two revisions of the program, chosen once in main.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/messages.hpp"
#include "driver/delay_tag.hpp"

namespace sarnik {

struct Revision {
  Msg banner;
  // The output ranges shift by this share of the delay in whole frames.
  std::int32_t delay_shift_percent;
  // The -x rule: the delay and the output name from the first input's name.
  Derivation (*derive_from_name)(std::string_view name);
};

}  // namespace sarnik
