// A small, type-checked printf subset for the message texts: %s, %d, %u,
// %02u and %%. Arguments are matched to directives in order.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/messages.hpp"

namespace sarnik {

class FormatArg {
 public:
  FormatArg(std::int32_t v) : kind_(Kind::signed_int), signed_(v) {}    // NOLINT: implicit by design
  FormatArg(std::uint32_t v) : kind_(Kind::unsigned_int), unsigned_(v) {}  // NOLINT
  FormatArg(std::uint64_t v) : kind_(Kind::unsigned_int), unsigned_(v) {}  // NOLINT
  FormatArg(std::string_view v) : kind_(Kind::text), text_(v) {}        // NOLINT
  FormatArg(const char* v) : kind_(Kind::text), text_(v) {}             // NOLINT
  FormatArg(const std::string& v) : kind_(Kind::text), text_(v) {}      // NOLINT

  enum class Kind { signed_int, unsigned_int, text };
  Kind kind() const { return kind_; }
  std::int32_t as_signed() const { return signed_; }
  std::uint64_t as_unsigned() const { return unsigned_; }
  std::string_view as_text() const { return text_; }

 private:
  Kind kind_;
  std::int32_t signed_ = 0;
  std::uint64_t unsigned_ = 0;
  std::string_view text_;
};

// Expands the directives of fmt with args. A directive whose argument is
// missing or of the wrong kind is a programming error and aborts.
std::string format_text(std::string_view fmt, std::initializer_list<FormatArg> args);

inline std::string format_text(Msg id, std::initializer_list<FormatArg> args) {
  return format_text(text(id), args);
}

}  // namespace sarnik
