// The program's console texts, held as CP932 bytes and as UTF-8.
#pragma once

#include <string_view>

namespace sarnik {

enum class Msg {
#define SARNIK_MESSAGE(id, text) id,
#include "common/messages.def"
#undef SARNIK_MESSAGE
  count_
};

// CP932 is what the program writes wherever its output is captured; UTF-8
// is for a terminal that reads it.
enum class Encoding { cp932, utf8 };

// The bytes of one message in the encoding, without a terminator.
std::string_view text(Msg id, Encoding encoding = Encoding::cp932);

}  // namespace sarnik
