// What the fuzz targets share: an invariant check that stops the run with a
// report libFuzzer saves the input for.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace sarnik::fuzz {

[[noreturn]] inline void broken(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
  std::abort();
}

}  // namespace sarnik::fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::sarnik::fuzz::broken(#condition, __FILE__, __LINE__))
