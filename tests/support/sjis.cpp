#include "support/sjis.hpp"

#include <iconv.h>

#include <stdexcept>

namespace sarnik::test {

std::string sjis(std::string_view utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string in(utf8);
  std::string out(in.size() * 2 + 16, '\0');
  char* in_p = in.data();
  std::size_t in_left = in.size();
  char* out_p = out.data();
  std::size_t out_left = out.size();
  const std::size_t r = iconv(cd, &in_p, &in_left, &out_p, &out_left);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("not convertible to CP932");
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace sarnik::test
