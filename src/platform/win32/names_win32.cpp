// File names on Windows: wide names, held in UTF-8 (see wide.hpp).
#include <windows.h>

#include "platform/names.hpp"
#include "platform/win32/wide.hpp"

namespace sarnik::platform {
namespace {

constexpr UINT kCodePage932 = 932;

// Character by character, so that a character outside the code page (a
// surrogate pair included) becomes exactly one '?'; never a best-fit
// stand-in.
std::string cp932_from_wide(std::wstring_view wide) {
  std::string out;
  for (std::size_t i = 0; i < wide.size();) {
    const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() &&
                      wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
    const int units = pair ? 2 : 1;
    char bytes[8];
    BOOL defaulted = FALSE;
    const int n = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide.data() + i, units,
                                      bytes, sizeof bytes, "?", &defaulted);
    if (n <= 0 || defaulted) {
      out.push_back('?');
    } else {
      out.append(bytes, static_cast<std::size_t>(n));
    }
    i += static_cast<std::size_t>(units);
  }
  return out;
}

}  // namespace

bool terminal_reads_utf8() { return true; }

std::string name_in_cp932(std::string_view name) { return cp932_from_wide(wide_from_utf8(name)); }

std::string name_rule_bytes(std::string_view name) { return cp932_from_wide(wide_from_utf8(name)); }

std::string name_from_rule_bytes(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(kCodePage932, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(kCodePage932, 0, bytes.data(), size, wide.data(), n);
  return utf8_from_wide(wide);
}

}  // namespace sarnik::platform
