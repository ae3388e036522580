#!/usr/bin/env bash
# The tests' share of all code by content: the non-blank characters of the files git tracks under
# tests/ and fuzz/ (but recordings and seeds), scripts/test* and scripts/fuzz*, against every other
# file of code: src/, examples/, cmake/, the build files, .ci/ and the other scripts. 1 outside a
# quarter to a third.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -z -- "$@" | grep -zvE '\.(aac|ts|mp4|m2ts|bin)$' | grep -zv '/corpus/' |
  xargs -0 -r cat | LC_ALL=C tr -d ' \t\r\n' | wc -c; }
t=$(count tests fuzz 'scripts/test*' 'scripts/fuzz*')
p=$(count src examples cmake CMakeLists.txt .ci ':!scripts/test*' ':!scripts/fuzz*' scripts)
awk -v t="$t" -v p="$p" 'BEGIN { s = t / (t + p)
  printf "tests %d, product %d non-blank characters: tests are %.1f %% of all code\n", t, p, 100 * s
  exit !(s >= 0.25 && 3 * t <= t + p) }'
