#include <cstdint>

#include "platform/names.hpp"

namespace sarnik::platform {
namespace {

void append_utf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void append_wide(std::wstring& out, std::uint32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<wchar_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<wchar_t>(0xD800 | (c >> 10)));
    out.push_back(static_cast<wchar_t>(0xDC00 | (c & 0x3FF)));
  }
}

bool is_high_surrogate(std::uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool is_low_surrogate(std::uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string utf8_from_wide(std::wstring_view wide) {
  std::string out;
  out.reserve(wide.size() * 3);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    std::uint32_t c = static_cast<std::uint16_t>(wide[i]);
    if (is_high_surrogate(c) && i + 1 < wide.size() &&
        is_low_surrogate(static_cast<std::uint16_t>(wide[i + 1]))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint16_t>(wide[i + 1]) - 0xDC00);
      ++i;
    }
    append_utf8(out, c);
  }
  return out;
}

std::wstring wide_from_utf8(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    if (lead < 0xC0 || i + length > utf8.size()) {
      // ASCII, or a byte that starts no sequence (never made by
      // utf8_from_wide): kept as the character of that value.
      out.push_back(static_cast<wchar_t>(lead));
      ++i;
      continue;
    }
    std::uint32_t c = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
    for (std::size_t k = 1; k < length; ++k)
      c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    append_wide(out, c);
    i += length;
  }
  return out;
}

}  // namespace sarnik::platform
