// An invariant check of the fuzz targets: a broken one aborts, and libFuzzer
// keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                  \
  ((condition) ? static_cast<void>(0)                                                          \
               : (std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, \
                               #condition),                                                    \
                  std::abort()))
