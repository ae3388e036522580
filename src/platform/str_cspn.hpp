#pragma once

#include <cstddef>

namespace sarnik::platform {

// The position of the first character of text that equals a character of set
// when compared without regard to case, or the length of text when none does.
// On Windows this is the shell utility library's StrCSpnIA.
std::size_t str_cspn_ia(const char* text, const char* set);

}  // namespace sarnik::platform
