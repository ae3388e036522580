// Win32 memory hints.
#include "platform/memory.hpp"

namespace sarnik::platform {

// Large pages need a privilege that a user rarely holds; the hint is not
// taken.
void advise_huge_pages(void*, std::size_t) {}

}  // namespace sarnik::platform
