#!/usr/bin/env bash
# Builds sarnik with AddressSanitizer and UndefinedBehaviorSanitizer (warnings
# as errors) in build/sanitize and runs the whole test suite there: the unit
# tests, the command-line suite and the end-to-end suite, whose programs are
# the sanitized builds too.
#
#   scripts/test-sanitize.sh [Debug|RelWithDebInfo]   (default Debug)
set -euo pipefail
cd "$(dirname "$0")/.."
build_type=${1:-Debug}
scripts/install-deps.sh

# A sanitizer report must never pass for the program's own error exit (code
# 1): it ends the process with its own code, and leaks count as reports.
export ASAN_OPTIONS="detect_leaks=1:exitcode=86:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=87${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE="$build_type" -DSARNIK_SANITIZE=ON -DSARNIK_WERROR=ON
cmake --build build/sanitize -j"$(nproc)"
ctest --test-dir build/sanitize -j"$(nproc)" --output-on-failure
