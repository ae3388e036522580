// File names on Windows: wide names, held in UTF-8 (see names.hpp).
#include <windows.h>

#include <vector>

#include "platform/names.hpp"

namespace sarnik::platform {
namespace {

constexpr UINT kCodePage932 = 932;
constexpr std::size_t kInside = static_cast<std::size_t>(-1);

// A name in code page 932, and for each of its bytes the position in the
// name (UTF-8) of the character that starts there, kInside for a byte inside
// a character; one more entry for the end.
struct Cp932Form {
  std::string bytes;
  std::vector<std::size_t> name_position;
};

std::size_t utf8_length(std::uint32_t c) {
  return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Character by character, so that a character outside the code page (a
// surrogate pair included) becomes exactly one '?'; never a best-fit
// stand-in.
Cp932Form cp932_form(std::string_view name) {
  const std::wstring wide = wide_from_utf8(name);
  Cp932Form form;
  std::size_t position = 0;
  for (std::size_t i = 0; i < wide.size();) {
    const bool pair = wide[i] >= 0xD800 && wide[i] <= 0xDBFF && i + 1 < wide.size() &&
                      wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF;
    const int units = pair ? 2 : 1;
    char bytes[8];
    BOOL defaulted = FALSE;
    int n = WideCharToMultiByte(kCodePage932, WC_NO_BEST_FIT_CHARS, wide.data() + i, units, bytes,
                                sizeof bytes, "?", &defaulted);
    if (n <= 0 || defaulted) {
      bytes[0] = '?';
      n = 1;
    }
    form.bytes.append(bytes, static_cast<std::size_t>(n));
    form.name_position.push_back(position);
    for (int k = 1; k < n; ++k) form.name_position.push_back(kInside);
    position += pair ? 4 : utf8_length(static_cast<std::uint16_t>(wide[i]));
    i += static_cast<std::size_t>(units);
  }
  form.name_position.push_back(position);
  return form;
}

std::string from_cp932(std::string_view bytes) {
  if (bytes.empty()) return std::string();
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(kCodePage932, 0, bytes.data(), size, nullptr, 0);
  if (n <= 0) return std::string();
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(kCodePage932, 0, bytes.data(), size, wide.data(), n);
  return utf8_from_wide(wide);
}

}  // namespace

bool terminal_reads_utf8() { return true; }

std::string name_in_cp932(std::string_view name) { return cp932_form(name).bytes; }

std::string name_rule_bytes(std::string_view name) { return cp932_form(name).bytes; }

std::string cut_name(std::string_view name, std::string_view derived, std::size_t kept,
                     std::size_t resumed) {
  const Cp932Form form = cp932_form(name);
  if (kept > form.bytes.size() || resumed > form.bytes.size()) return from_cp932(derived);
  const std::size_t kept_at = form.name_position[kept];
  const std::size_t resumed_at = form.name_position[resumed];
  if (kept_at == kInside || resumed_at == kInside) return from_cp932(derived);
  std::string cut(name.substr(0, kept_at));
  cut += "0ms";
  cut += name.substr(resumed_at);
  return cut;
}

std::string_view file_part(std::string_view name) {
  const std::size_t separator = name.find_last_of("/\\:");
  return separator == std::string_view::npos ? name : name.substr(separator + 1);
}

}  // namespace sarnik::platform
