// The Trim reader over any text, and over Trim lines made from the bytes. Byte 0: bit 0 a script,
// else inline text; bit 1 a made line (bits 2-3 the lines skipped before it, 4-5 what follows
// it; then 7 bytes a call: how it is written, first, second), else the bytes after it are the
// text. Invariants: the normalised text holds no blank, no upper-case letter and, from a script,
// no CR; each call's numbers have at most 7 characters; a made line's calls are the rule's.
#include <algorithm>
#include <string>
#include <vector>

#include "cutlist/trim_text.hpp"
#include "support/product.hpp"

namespace sarnik {
namespace {

std::int32_t number(const std::uint8_t* p) { return p[0] << 16 | p[1] << 8 | p[2]; }

// A Trim line in text, after skipped lines, its calls joined in each way that continues it; the
// calls by the rule: (first, last) ends after last, or after first when last is before it;
// (first, -n) after n frames; (first, 0) and (first, -) at the end of the stream.
std::vector<TrimCall> made_line(const std::uint8_t* data, std::size_t size, bool script,
                                std::string& text) {
  constexpr const char* kSkipped[] = {"#Trim(0,9)\n", "x = Trim(1,2)\n", "\n", "a\\\n"};
  constexpr const char* kJoins[] = {"+", "++", "", "\n\\", "\n\\ +", " + ", "\r\n\\", "\n\\\n\\"};
  constexpr const char* kNames[] = {"trim(", "Trim(", "TRIM(", " trim ( "};
  constexpr const char* kAfter[] = {"", "\n", "\nTrim(7,8)", "\\\n\\+Trim(7,8)"};
  for (int k = 0; k < (data[0] >> 2 & 3); ++k) text += kSkipped[k];
  std::vector<TrimCall> calls;
  for (std::size_t at = 1; at + 7 <= size; at += 7) {
    const std::uint8_t how = data[at];
    const std::int32_t first = number(data + at + 1) % 10000000, second = number(data + at + 4);
    if (at > 1) text += kJoins[(how & 7) == 6 && !script ? 0 : how & 7];  // CR ends inline text
    text += kNames[how >> 3 & 3] + std::to_string(first) + ',';
    const std::int32_t last = second % 10000000, length = second % 1000000;
    const int kind = how >> 5 & 3;
    text += kind == 0   ? (how & 0x80 ? "0" : "-")
            : kind == 1 ? std::to_string(last)
                        : '-' + std::to_string(length);
    text += how & 0x80 ? ",1)" : ")";
    calls.push_back({first, kind == 1 && last    ? std::max(last + 1, first + 1)
                            : kind > 1 && length ? first + length
                                                 : kToStreamEnd});
  }
  if (!calls.empty()) text += kAfter[data[0] >> 4 & 3];  // without a call it would be read
  return calls;
}

}  // namespace
}  // namespace sarnik

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sarnik;
  if (size == 0) return 0;
  const bool script = data[0] & 1, made = data[0] & 2;
  std::string source(reinterpret_cast<const char*>(data) + 1, size - 1), text;
  std::vector<TrimCall> expected;
  if (made) {
    source.clear();
    expected = made_line(data, size, script, source);
  }
  if (script) {
    append_script_bytes(text, source);
  } else {
    text = normalise_inline_text(source);
  }
  FUZZ_CHECK(text.find_first_of(" \tABCDEFGHIJKLMNOPQRSTUVWXYZ\r", 0, script ? 29 : 28) ==
             std::string::npos);
  const std::vector<TrimCall> calls = read_trim_calls(text);
  FUZZ_CHECK(!made || calls == expected);
  for (const TrimCall& c : calls) {
    FUZZ_CHECK(c.first >= 0 && c.first <= 9999999 &&
               (c.end == kToStreamEnd ||
                (c.end > c.first && c.end <= std::max(c.first + 999999, 10000000))));
  }
  return 0;
}
