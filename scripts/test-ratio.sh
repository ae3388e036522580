#!/usr/bin/env bash
# The tests' share of all code by content: the non-blank characters of the files git tracks under tests/
# and fuzz/ (but recordings and seeds), scripts/test* and scripts/fuzz*, against src/'s; 1 above a third.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -z -- "$@" | grep -zvE '\.(aac|ts|mp4|m2ts|bin)$' | grep -zv '/corpus/' |
  xargs -0 -r cat | LC_ALL=C tr -d ' \t\r\n' | wc -c; }
t=$(count tests fuzz 'scripts/test*' 'scripts/fuzz*') p=$(count src)
awk -v t="$t" -v p="$p" 'BEGIN { printf "tests %d, product %d non-blank characters: tests are %.1f %% of all code\n",
  t, p, 100 * t / (t + p); exit !(3 * t <= t + p) }'
