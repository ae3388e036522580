#!/usr/bin/env bash
# The whole suite built with ASan and UBSan in build/sanitize; a report exits 86 or 87, never 1.
#   scripts/test-sanitize.sh [Debug|RelWithDebInfo]   (default Debug)
export ASAN_OPTIONS="detect_leaks=1:exitcode=86:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:exitcode=87"
exec "$(dirname "$0")/test.sh" build/sanitize -DCMAKE_BUILD_TYPE="${1:-Debug}" -DSARNIK_SANITIZE=ON
