#!/usr/bin/env bash
# Installs what building and testing need, builds with warnings as errors and runs the native suite.
#   scripts/test.sh [BUILD-DIR CMAKE-FLAG...]   (default: build/test, RelWithDebInfo)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
(($#)) || set -- build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake -S . -B "$1" -DSARNIK_WERROR=ON "${@:2}"
cmake --build "$1" -j"$(nproc)" && ctest --test-dir "$1" -j"$(nproc)" --output-on-failure
