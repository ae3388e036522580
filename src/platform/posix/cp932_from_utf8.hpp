// UTF-8 to code page 932 by a table made at build time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sarnik::platform {

// The text in code page 932, '?' for each character that the code page does
// not hold; nothing when the text is not valid UTF-8.
std::optional<std::string> cp932_from_utf8(std::string_view utf8);

}  // namespace sarnik::platform
