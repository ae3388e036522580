// File names between the command line, the console and the -x rules.
//
// A name is held as the bytes that open the file: on POSIX the argument's
// own bytes; on Windows the wide name, losslessly in UTF-8 (unpaired
// surrogates included), turned back into the wide name to open the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sarnik::platform {

// Whether text for a terminal is written in UTF-8: on POSIX unless the
// user's locale has another character set than UTF-8 (C and POSIX count as
// UTF-8); on Windows always, since the console is written in UTF-16.
bool terminal_reads_utf8();

// The name as console text in code page 932, '?' for each character that
// the code page does not hold. On POSIX a name that is valid UTF-8 is
// converted from it; any other name keeps its code page 932 characters and
// shows '?' for each byte that forms none.
std::string name_in_cp932(std::string_view name);

// The bytes that the program's byte rules work on (the -x rules, the
// derived-name limit, inline Trim text): the argument itself on POSIX, its
// code page 932 form on Windows.
std::string name_rule_bytes(std::string_view name);

// The output name that -x derives from name. derived is name's rule bytes
// cut to their first `kept` bytes, then "0ms", then the bytes from `resumed`
// on. On POSIX that is derived itself. On Windows the name is cut at the
// same characters, so that characters outside code page 932 stay whole;
// should a cut fall inside a character, derived is read back from code
// page 932 instead.
std::string cut_name(std::string_view name, std::string_view derived, std::size_t kept,
                     std::size_t resumed);

// The name without its folders: what follows its last folder separator
// ('/'; on Windows also '\' and a drive's ':').
std::string_view file_part(std::string_view name);

// The position of the first character of text that equals a character of set
// when compared without regard to case, or the length of text when none does.
// On Windows this is the shell utility library's StrCSpnIA; the add 2
// revision alone uses it (and alone links that library).
std::size_t str_cspn_ia(const char* text, const char* set);

#ifdef _WIN32
// Wide (UTF-16) names and text held in UTF-8, without loss: an unpaired
// surrogate, which a Windows name may hold, is kept in the three-byte form
// that UTF-8 would give it.
std::string utf8_from_wide(std::wstring_view wide);
std::wstring wide_from_utf8(std::string_view utf8);
#else
// The text in code page 932, by a table made at build time; '?' for each
// character that the code page does not hold; nothing when the text is not
// valid UTF-8.
std::optional<std::string> cp932_from_utf8(std::string_view utf8);

// The bytes, each that forms no code page 932 character replaced by '?'.
std::string cp932_characters(std::string_view bytes);
#endif

}  // namespace sarnik::platform
