#include "common/messages.hpp"

#include <cstddef>

namespace sarnik {
namespace {

// messages_cp932.inc and messages_utf8.inc are messages.def converted at
// build time.
constexpr std::string_view kCp932Texts[] = {
#define SARNIK_MESSAGE(id, literal) std::string_view(literal, sizeof(literal) - 1),
#include "messages_cp932.inc"
#undef SARNIK_MESSAGE
};

constexpr std::string_view kUtf8Texts[] = {
#define SARNIK_MESSAGE(id, literal) std::string_view(literal, sizeof(literal) - 1),
#include "messages_utf8.inc"
#undef SARNIK_MESSAGE
};

static_assert(sizeof(kCp932Texts) / sizeof(kCp932Texts[0]) == static_cast<std::size_t>(Msg::count_),
              "the generated table and the identifiers disagree");
static_assert(sizeof(kUtf8Texts) / sizeof(kUtf8Texts[0]) == static_cast<std::size_t>(Msg::count_),
              "the generated table and the identifiers disagree");

}  // namespace

std::string_view text(Msg id, Encoding encoding) {
  const auto index = static_cast<std::size_t>(id);
  return encoding == Encoding::utf8 ? kUtf8Texts[index] : kCp932Texts[index];
}

}  // namespace sarnik
