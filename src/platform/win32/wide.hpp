// Wide (UTF-16) names and text held in UTF-8, without loss: an unpaired
// surrogate, which a Windows name may hold, is kept in the three-byte form
// that UTF-8 would give it.
#pragma once

#include <string>
#include <string_view>

namespace sarnik::platform {

std::string utf8_from_wide(std::wstring_view wide);
std::wstring wide_from_utf8(std::string_view utf8);

}  // namespace sarnik::platform
