// Memory hints to the host system. One implementation over POSIX, one over
// Win32.
#pragma once

#include <cstddef>

namespace sarnik::platform {

// Asks the system to back the n bytes at p (aligned to 2 MiB) with huge
// pages where it can; a hint, which a system may ignore.
void advise_huge_pages(void* p, std::size_t n);

}  // namespace sarnik::platform
