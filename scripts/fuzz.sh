#!/usr/bin/env bash
# Builds the libFuzzer target over the ADTS scanner (clang, build/fuzz) and runs it for a time, from its
# corpus and fuzz/corpus/scanner; findings go to build/fuzz/findings/.
#   scripts/fuzz.sh [-t SECONDS, default 60] [LIBFUZZER-FLAG...]
set -euo pipefail
cd "$(dirname "$0")/.."
b=build/fuzz seconds=60 findings=build/fuzz/findings/$(date -u +%Y%m%dT%H%M%SZ)-$$
[ "${1:-}" != -t ] || { seconds=$2; shift 2; }
scripts/install-deps.sh clang-14 libclang-rt-14-dev util-linux
mkdir -p "$b/run" "$findings" && exec 9>"$b/.build-lock" && flock 9  # runs that share the tree build in turn
cmake -S . -B "$b" -DCMAKE_CXX_COMPILER=clang++-14 -DSARNIK_FUZZ=ON -DSARNIK_TESTS=OFF -DSARNIK_WERROR=ON >/dev/null
cmake --build "$b" -j"$(nproc)" --target scanner_fuzzer >/dev/null
exec 9>&-
rc=0 && UBSAN_OPTIONS=halt_on_error=1 "$b/fuzz/scanner_fuzzer" -max_total_time="$seconds" -max_len=131072 -timeout=30 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "$@" "$b/run" fuzz/corpus/scanner >"$findings.log" 2>&1 || rc=$?
echo "$(sed -n 's/^stat::number_of_executed_units: *//p' "$findings.log") executions, exit code $rc (log: $findings.log)"
[ "$rc" = 0 ] && [ -z "$(find "$findings" -type f ! -name 'slow-unit-*')" ] || { tail -20 "$findings.log"; exit 1; }
rmdir "$findings"
