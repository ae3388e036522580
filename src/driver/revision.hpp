// Which revision of the program this build is. The add 2 revision differs in
// its banner, its delay shift and its -x rule.
#pragma once

#include <cstddef>

namespace sarnik {

// Position of the first character of text that matches one of set without
// regard to case, or the length of text when none does (StrCSpnIA).
using CaseInsensitiveSpan = std::size_t (*)(const char* text, const char* set);

struct Revision {
  int add = 3;
  // Used by the add 2 -x rule only.
  CaseInsensitiveSpan span_excluding = nullptr;
};

}  // namespace sarnik
