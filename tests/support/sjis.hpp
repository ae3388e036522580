// Expected console texts are written in UTF-8 in the tests and converted to
// CP932 here, with the C library's iconv.
#pragma once

#include <string>
#include <string_view>

namespace sarnik::test {

std::string sjis(std::string_view utf8);

}  // namespace sarnik::test
