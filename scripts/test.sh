#!/usr/bin/env bash
# Installs what building and testing need, builds sarnik with warnings as
# errors and runs the whole native test suite: unit, command-line, end-to-end
# with ffmpeg, the example workflow, the install tree and the Debian package.
# The longer suites (sanitizers, Windows under Wine, fuzzing) have their own
# scripts; .ci/run runs them after this one.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSARNIK_WERROR=ON
cmake --build build/test -j"$(nproc)"
ctest --test-dir build/test -j"$(nproc)" --output-on-failure
