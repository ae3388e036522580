#!/usr/bin/env bash
# The tests' share of all code by content: the non-blank characters of every file git tracks under
# tests/ and fuzz/ (but recordings and fuzz seeds) and of scripts/test* and scripts/fuzz*, against
# src/'s. Exits 1 above one third.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -z -- "$@" | grep -zvE '\.(aac|ts|mp4|m2ts|bin)$' | grep -zv '/corpus/' |
  xargs -0 -r cat | LC_ALL=C tr -d ' \t\r\n' | wc -c; }
t=$(count tests fuzz 'scripts/test*' 'scripts/fuzz*') p=$(count src)
awk -v t="$t" -v p="$p" 'BEGIN { printf "tests %d, product %d non-blank characters: tests are %.1f %% of all code\n",
  t, p, 100 * t / (t + p); exit !(3 * t <= t + p) }'
