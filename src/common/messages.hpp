// The program's console texts, held as CP932 bytes.
#pragma once

#include <string_view>

namespace sarnik {

enum class Msg {
#define SARNIK_MESSAGE(id, text) id,
#include "common/messages.def"
#undef SARNIK_MESSAGE
  count_
};

// The CP932 bytes of one message, without a terminator.
std::string_view text(Msg id);

}  // namespace sarnik
