#include <algorithm>
#include <cstdint>
#include <iterator>

#include "platform/names.hpp"

namespace sarnik::platform {
namespace {

struct Row {
  std::uint32_t utf8;   // the character's UTF-8 bytes, packed big-endian
  std::uint16_t cp932;  // one byte when below 0x100, else lead and trail
};

// cp932_table.inc is made at build time by decoding every CP932 code with
// iconv; sorted by the UTF-8 bytes.
constexpr Row kTable[] = {
#include "cp932_table.inc"
};

// The double-byte codes that are characters, sorted.
constexpr std::uint16_t kDoubleByteCodes[] = {
#include "cp932_codes.inc"
};

bool is_continuation(unsigned char c) { return c >= 0x80 && c <= 0xBF; }

// The length of the well-formed UTF-8 sequence at the start of text, or 0.
std::size_t sequence_length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!is_continuation(byte(i))) return 0;
  }
  return length;
}

void append_character(std::string& out, std::string_view sequence) {
  std::uint32_t packed = 0;
  for (char c : sequence) packed = (packed << 8) | static_cast<unsigned char>(c);
  const Row* end = std::end(kTable);
  const Row* row = std::lower_bound(std::begin(kTable), end, packed,
                                    [](const Row& r, std::uint32_t key) { return r.utf8 < key; });
  if (row == end || row->utf8 != packed) {
    out.push_back('?');
    return;
  }
  if (row->cp932 >= 0x100) out.push_back(static_cast<char>(row->cp932 >> 8));
  out.push_back(static_cast<char>(row->cp932 & 0xFF));
}

}  // namespace

std::optional<std::string> cp932_from_utf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const std::size_t length = sequence_length(utf8);
    if (length == 0) return std::nullopt;
    if (length == 1) {
      out.push_back(utf8[0]);
    } else {
      // Four-byte sequences are never in the table: '?'.
      append_character(out, utf8.substr(0, length));
    }
    utf8.remove_prefix(length);
  }
  return out;
}

std::string cp932_characters(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF)) {  // ASCII, half-width katakana
      out.push_back(bytes[i]);
      continue;
    }
    const auto code = static_cast<std::uint16_t>(
        i + 1 < bytes.size() ? byte << 8 | static_cast<unsigned char>(bytes[i + 1]) : 0);
    if (std::binary_search(std::begin(kDoubleByteCodes), std::end(kDoubleByteCodes), code)) {
      out.append(bytes.substr(i++, 2));
    } else {
      out.push_back('?');
    }
  }
  return out;
}

}  // namespace sarnik::platform
