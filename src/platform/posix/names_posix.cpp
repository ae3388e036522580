// File names on POSIX: bytes, opened as they are.
#include <langinfo.h>

#include <clocale>
#include <cstdlib>
#include <cstring>

#include "common/ascii.hpp"
#include "platform/names.hpp"

namespace sarnik::platform {
namespace {

// The locale that the environment names for characters: LC_ALL, else
// LC_CTYPE, else LANG.
std::string_view character_locale_name() {
  for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "";
}

bool names_utf8(std::string_view locale) {
  std::string lower;
  for (const char c : locale) lower.push_back(ascii_lower(c));
  return lower.find("utf-8") != std::string::npos || lower.find("utf8") != std::string::npos;
}

}  // namespace

// UTF-8 when the user's locale has that character set, or is C or POSIX (as
// language runtimes take it today), or cannot be set but its name says
// UTF-8; a locale of another character set keeps CP932. Asked once; the
// program itself keeps running in the "C" locale.
bool terminal_reads_utf8() {
  static const bool utf8 = [] {
    const char* set = std::setlocale(LC_CTYPE, "");
    if (set == nullptr) return names_utf8(character_locale_name());
    const bool is_utf8 = std::strcmp(set, "C") == 0 || std::strcmp(set, "POSIX") == 0 ||
                         std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::setlocale(LC_CTYPE, "C");
    return is_utf8;
  }();
  return utf8;
}

std::string name_in_cp932(std::string_view name) {
  if (std::optional<std::string> converted = cp932_from_utf8(name)) return *converted;
  return cp932_characters(name);
}

std::string name_rule_bytes(std::string_view name) { return std::string(name); }

std::string cut_name(std::string_view, std::string_view derived, std::size_t, std::size_t) {
  return std::string(derived);
}

std::string_view file_part(std::string_view name) {
  const std::size_t separator = name.find_last_of("/");
  return separator == std::string_view::npos ? name : name.substr(separator + 1);
}

}  // namespace sarnik::platform
