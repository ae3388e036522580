// What the Win32 parts of the platform layer share.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/file.hpp"
#include "platform/std_streams.hpp"

namespace sarnik::platform {

inline HANDLE handle_of(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }
HANDLE std_handle(StdStream stream);

FileId id_of(const BY_HANDLE_FILE_INFORMATION& info);

// Writes all n bytes, in pieces that WriteFile takes; false on any failure.
bool write_handle(HANDLE h, const char* data, std::size_t n);

bool is_console(HANDLE h);
// Text for a console is UTF-8; the console takes it in UTF-16, whatever its
// code page.
bool write_console(HANDLE h, std::string_view utf8);

}  // namespace sarnik::platform
