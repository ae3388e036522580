#include "common/messages.hpp"

#include <cstddef>

namespace sarnik {
namespace {

// messages_cp932.inc is messages.def converted to CP932 at build time.
constexpr std::string_view kTexts[] = {
#define SARNIK_MESSAGE(id, literal) std::string_view(literal, sizeof(literal) - 1),
#include "messages_cp932.inc"
#undef SARNIK_MESSAGE
};

static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == static_cast<std::size_t>(Msg::count_),
              "the generated table and the identifiers disagree");

}  // namespace

std::string_view text(Msg id) { return kTexts[static_cast<std::size_t>(id)]; }

}  // namespace sarnik
