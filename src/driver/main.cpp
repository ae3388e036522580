// The program's entry point. REVISION_ADD selects the revision built:
// 3 (the default) or 2.
#include <string>
#include <vector>

#include "driver/revision.hpp"
#include "driver/run_main.hpp"
#include "platform/names.hpp"

#ifndef REVISION_ADD
#define REVISION_ADD 3
#endif

#if REVISION_ADD != 2 && REVISION_ADD != 3
#error "REVISION_ADD must be 2 or 3"
#endif

namespace {

#if REVISION_ADD == 2
constexpr sarnik::Revision kRevision{sarnik::Msg::banner_add2, 108, &sarnik::derive_add2};
#else
constexpr sarnik::Revision kRevision{sarnik::Msg::banner_add3, 100, &sarnik::derive_add3};
#endif

int run(int argc, const char* const* argv) {
  sarnik::StandardStreams streams;
  sarnik::Console console(streams);
  return sarnik::run_main(argc, argv, kRevision, console);
}

}  // namespace

#ifdef _WIN32
// The wide command line, so that every name reaches the file calls whole;
// the arguments are held in UTF-8 from here on.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(sarnik::platform::utf8_from_wide(argv[i]));
  std::vector<const char*> pointers;
  for (const std::string& a : args) pointers.push_back(a.c_str());
  pointers.push_back(nullptr);
  return run(argc, pointers.data());
}
#else
int main(int argc, char** argv) { return run(argc, argv); }
#endif
