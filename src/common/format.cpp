#include "common/format.hpp"

#include <cstdlib>

namespace sarnik {
namespace {

void append_unsigned(std::string& out, std::uint64_t value, std::size_t min_width) {
  char digits[20];
  std::size_t n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  for (std::size_t i = n; i < min_width; ++i) out.push_back('0');
  while (n > 0) out.push_back(digits[--n]);
}

void append_signed(std::string& out, std::int32_t value) {
  if (value < 0) {
    out.push_back('-');
    // The magnitude of INT32_MIN does not fit in int32; compute it unsigned.
    append_unsigned(out, 0u - static_cast<std::uint32_t>(value), 0);
  } else {
    append_unsigned(out, static_cast<std::uint32_t>(value), 0);
  }
}

const FormatArg& take(std::initializer_list<FormatArg>::const_iterator& it,
                      std::initializer_list<FormatArg> args, FormatArg::Kind kind) {
  if (it == args.end() || it->kind() != kind) std::abort();
  return *it++;
}

void append_string(std::string& out, std::initializer_list<FormatArg>::const_iterator& it,
                   std::initializer_list<FormatArg> args, const TextEncoding& encoding) {
  if (it == args.end()) std::abort();
  const FormatArg& arg = *it++;
  switch (arg.kind()) {
    case FormatArg::Kind::text:
      out.append(arg.as_text());
      return;
    case FormatArg::Kind::name:
      if (encoding.spell_name != nullptr) {
        out.append(encoding.spell_name(arg.as_text()));
      } else {
        out.append(arg.as_text());
      }
      return;
    case FormatArg::Kind::message:
      if (arg.has_number()) {
        out.append(format_text(arg.as_message(), {arg.as_signed()}, encoding));
      } else {
        out.append(text(arg.as_message(), encoding.messages));
      }
      return;
    default:
      std::abort();
  }
}

}  // namespace

std::string format_text(std::string_view fmt, std::initializer_list<FormatArg> args,
                        const TextEncoding& encoding) {
  std::string out;
  out.reserve(fmt.size() + 32);
  auto it = args.begin();
  for (std::size_t i = 0; i < fmt.size(); ++i) {
    const char c = fmt[i];
    if (c != '%') {
      out.push_back(c);
      continue;
    }
    const std::string_view rest = fmt.substr(i + 1);
    if (rest.substr(0, 1) == "%") {
      out.push_back('%');
      i += 1;
    } else if (rest.substr(0, 1) == "s") {
      append_string(out, it, args, encoding);
      i += 1;
    } else if (rest.substr(0, 1) == "d") {
      append_signed(out, take(it, args, FormatArg::Kind::signed_int).as_signed());
      i += 1;
    } else if (rest.substr(0, 1) == "u") {
      append_unsigned(out, take(it, args, FormatArg::Kind::unsigned_int).as_unsigned(), 0);
      i += 1;
    } else if (rest.substr(0, 3) == "02u") {
      append_unsigned(out, take(it, args, FormatArg::Kind::unsigned_int).as_unsigned(), 2);
      i += 3;
    } else {
      std::abort();
    }
  }
  if (it != args.end()) std::abort();
  return out;
}

}  // namespace sarnik
