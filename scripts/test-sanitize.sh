#!/usr/bin/env bash
# The whole test suite on programs built with
# AddressSanitizer and UndefinedBehaviorSanitizer in build/sanitize. A report
# ends the program with its own exit code (86, 87), never the error exit's 1.
#   scripts/test-sanitize.sh [Debug|RelWithDebInfo]   (default Debug)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export ASAN_OPTIONS="detect_leaks=1:exitcode=86:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=87"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE="${1:-Debug}" -DSARNIK_SANITIZE=ON -DSARNIK_WERROR=ON
cmake --build build/sanitize -j"$(nproc)"
ctest --test-dir build/sanitize -j"$(nproc)" --output-on-failure
