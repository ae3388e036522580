// A small, type-checked printf subset for the message texts: %s, %d, %u,
// %02u and %%. Arguments are matched to directives in order.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "common/messages.hpp"

namespace sarnik {

// A file name as the command line gave it, for a %s directive: it is
// spelled for the text's encoding (see TextEncoding).
struct FileName {
  std::string_view bytes;
};

class FormatArg {
 public:
  FormatArg(std::int32_t v) : kind_(Kind::signed_int), signed_(v) {}  // NOLINT: implicit by design
  FormatArg(std::uint32_t v) : kind_(Kind::unsigned_int), unsigned_(v) {}  // NOLINT
  FormatArg(std::uint64_t v) : kind_(Kind::unsigned_int), unsigned_(v) {}  // NOLINT
  FormatArg(std::string_view v) : kind_(Kind::text), text_(v) {}           // NOLINT
  FormatArg(const char* v) : kind_(Kind::text), text_(v) {}                // NOLINT
  FormatArg(const std::string& v) : kind_(Kind::text), text_(v) {}         // NOLINT
  FormatArg(FileName v) : kind_(Kind::name), text_(v.bytes) {}             // NOLINT
  // Another message, in the text's encoding, for a %s directive; with a
  // number, the message's own %d directive is given that number.
  FormatArg(Msg v) : kind_(Kind::message), message_(v) {}  // NOLINT
  FormatArg(Msg v, std::int32_t number)
      : kind_(Kind::message), signed_(number), message_(v), has_number_(true) {}

  enum class Kind { signed_int, unsigned_int, text, name, message };
  Kind kind() const { return kind_; }
  std::int32_t as_signed() const { return signed_; }
  std::uint64_t as_unsigned() const { return unsigned_; }
  std::string_view as_text() const { return text_; }
  Msg as_message() const { return message_; }
  bool has_number() const { return has_number_; }

 private:
  Kind kind_;
  std::int32_t signed_ = 0;
  std::uint64_t unsigned_ = 0;
  std::string_view text_;
  Msg message_ = Msg::newline;
  bool has_number_ = false;
};

// The encoding of one text: of its messages, and how file names are spelled
// in it (as they are when spell_name is null).
struct TextEncoding {
  Encoding messages = Encoding::cp932;
  std::string (*spell_name)(std::string_view name) = nullptr;
};

// Expands the directives of fmt with args. A directive whose argument is
// missing or of the wrong kind is a programming error and aborts. %s takes
// text, a file name or a message.
std::string format_text(std::string_view fmt, std::initializer_list<FormatArg> args,
                        const TextEncoding& encoding = {});

inline std::string format_text(Msg id, std::initializer_list<FormatArg> args,
                               const TextEncoding& encoding = {}) {
  return format_text(text(id, encoding.messages), args, encoding);
}

}  // namespace sarnik
