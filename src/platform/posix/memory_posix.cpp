// POSIX memory hints.
#include <sys/mman.h>

#include "platform/memory.hpp"

namespace sarnik::platform {

void advise_huge_pages(void* p, std::size_t n) {
#ifdef MADV_HUGEPAGE
  static_cast<void>(::madvise(p, n, MADV_HUGEPAGE));
#else
  static_cast<void>(p);
  static_cast<void>(n);
#endif
}

}  // namespace sarnik::platform
