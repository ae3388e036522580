#include <shlwapi.h>
#include <windows.h>

#include "platform/names.hpp"

namespace sarnik::platform {

std::size_t str_cspn_ia(const char* text, const char* set) {
  const int position = StrCSpnIA(text, set);
  return position < 0 ? 0 : static_cast<std::size_t>(position);
}

}  // namespace sarnik::platform
