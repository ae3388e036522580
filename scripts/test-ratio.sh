#!/usr/bin/env bash
# Test lines against product lines: the non-blank lines of every file git tracks
# under tests/ and fuzz/ but recordings (.aac, .ts, .mp4; in a seed, NUL bytes
# end no line) and of scripts/test* and scripts/fuzz*, against src/'s. Exits 1 above 0.45.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -z -- "$@" | grep -zvE '\.(aac|ts|mp4)$' | xargs -0 env LC_ALL=C grep -ach '[^[:space:]]' | awk '{ n += $1 } END { print n + 0 }'; }
t=$(count tests fuzz 'scripts/test*' 'scripts/fuzz*'); p=$(count src)
awk -v t="$t" -v p="$p" 'BEGIN { printf "test lines %d, product lines %d, ratio %.3f\n", t, p, t / p; exit !(t <= 0.45 * p) }'
