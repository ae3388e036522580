#!/usr/bin/env bash
# Test lines against product lines: the non-blank lines of every text file
# git tracks under tests/ and fuzz/ (not the recordings, seeds and corpus),
# with the test, fuzz and sanitizer scripts, against those of src/. Exits 1
# above 0.45.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { if (($#)); then cat -- "$@" | grep -c '[^[:space:]]' || true; else echo 0; fi; }
mapfile -t tests < <(git ls-files tests fuzz scripts | grep -vE '\.(aac|ts|mp4|bin)$|^fuzz/corpus/' |
  grep -E '^(tests|fuzz)/|^scripts/[^/]*(test|fuzz|sanit)[^/]*$')
mapfile -t product < <(git ls-files src)
t=$(count "${tests[@]}") p=$(count "${product[@]}")
awk -v t="$t" -v p="$p" 'BEGIN { printf "test lines %d, product lines %d, ratio %.3f\n", t, p, t / p; exit !(t <= 0.45 * p) }'
