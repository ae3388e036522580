// File names on POSIX: bytes, opened as they are.
#include <langinfo.h>

#include <clocale>
#include <cstring>

#include "platform/names.hpp"

namespace sarnik::platform {
namespace {

// The character set of the user's locale, asked once; the program itself
// keeps running in the "C" locale.
bool locale_is_utf8() {
  static const bool utf8 = [] {
    if (std::setlocale(LC_CTYPE, "") == nullptr) return false;
    const bool is_utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::setlocale(LC_CTYPE, "C");
    return is_utf8;
  }();
  return utf8;
}

}  // namespace

bool terminal_reads_utf8() { return locale_is_utf8(); }

std::string name_in_cp932(std::string_view name) {
  if (locale_is_utf8()) {
    if (std::optional<std::string> converted = cp932_from_utf8(name)) return *converted;
  }
  return std::string(name);
}

std::string name_rule_bytes(std::string_view name) { return std::string(name); }

std::string cut_name(std::string_view, std::string_view derived, std::size_t, std::size_t) {
  return std::string(derived);
}

}  // namespace sarnik::platform
