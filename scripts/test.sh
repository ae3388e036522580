#!/usr/bin/env bash
# Builds sarnik with warnings as errors and runs the whole test suite, then
# the further suites that have their own scripts (sanitizers, the Windows
# build under Wine, a brief fuzzing run).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSARNIK_WERROR=ON
cmake --build build/test -j"$(nproc)"
ctest --test-dir build/test -j"$(nproc)" --output-on-failure

for suite in scripts/test-sanitize.sh scripts/test-windows.sh scripts/fuzz-brief.sh; do
  if [ -x "$suite" ]; then
    echo "== $suite"
    "$suite"
  fi
done
