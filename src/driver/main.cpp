// The program's entry point. REVISION_ADD selects the revision built:
// 3 (the default) or 2.
#include "driver/run_main.hpp"

#ifndef REVISION_ADD
#define REVISION_ADD 3
#endif

#if REVISION_ADD == 2
#include "platform/str_cspn.hpp"
#elif REVISION_ADD != 3
#error "REVISION_ADD must be 2 or 3"
#endif

int main(int argc, char** argv) {
#if REVISION_ADD == 2
  const sarnik::Revision revision{2, &sarnik::platform::str_cspn_ia};
#else
  const sarnik::Revision revision{3, nullptr};
#endif
  sarnik::Console console;
  return sarnik::run_main(argc, argv, revision, console);
}
