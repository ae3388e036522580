// File names between the command line, the console and the -x rules.
//
// A name is held as the bytes that open the file: on POSIX the argument's
// own bytes; on Windows the wide name, losslessly in UTF-8 (unpaired
// surrogates included), turned back into the wide name to open the file.
#pragma once

#include <string>
#include <string_view>

namespace sarnik::platform {

// Whether text for a terminal is written in UTF-8: on POSIX when the
// locale's character set is UTF-8; on Windows always, since the console is
// written in UTF-16.
bool terminal_reads_utf8();

// The name as console text in code page 932, '?' for each character that
// the code page does not hold. On POSIX a name is converted only when the
// locale's character set is UTF-8 and the name is valid UTF-8; any other
// name is written as it is.
std::string name_in_cp932(std::string_view name);

// The bytes that the -x rules and the derived-name limit work on: the name
// itself on POSIX, its code page 932 form on Windows.
std::string name_rule_bytes(std::string_view name);

// The name that rule bytes (from name_rule_bytes, cut and joined) spell:
// the bytes themselves on POSIX; on Windows the code page 932 text read
// back into a wide name.
std::string name_from_rule_bytes(std::string_view bytes);

}  // namespace sarnik::platform
