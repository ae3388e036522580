#!/usr/bin/env bash
# Installs what building and testing need, builds with warnings as errors and runs the native suite.
#   scripts/test.sh [BUILD-DIR CMAKE-FLAG...]   (default: build/test, RelWithDebInfo)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
scripts/install-deps.sh
(($#)) && tree=("$1" -DSARNIK_WERROR=ON "${@:2}") || tree=("${native_test_tree[@]}")
configure_and_build "${tree[@]}" && ctest --test-dir "${tree[0]}" -j"$(nproc)" --output-on-failure
