#include "common/ascii.hpp"
#include "platform/names.hpp"

namespace sarnik::platform {

// Compares byte by byte, folding 'A' to 'Z' only.
std::size_t str_cspn_ia(const char* text, const char* set) {
  std::size_t i = 0;
  for (; text[i] != '\0'; ++i) {
    for (const char* s = set; *s != '\0'; ++s) {
      if (ascii_lower(text[i]) == ascii_lower(*s)) return i;
    }
  }
  return i;
}

}  // namespace sarnik::platform
