#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each for a time, from its corpus in
# build/fuzz/run/<target> and its seeds in fuzz/corpus/<target>; findings go to build/fuzz/findings/.
#   scripts/fuzz.sh [-t SECONDS per target, default 60] [TARGET...] [-- LIBFUZZER-FLAG...]
set -euo pipefail
cd "$(dirname "$0")/.."
b=build/fuzz seconds=60 targets=() failed=0 stamp=$(date -u +%Y%m%dT%H%M%SZ)-$$
[ "${1:-}" != -t ] || { seconds=$2; shift 2; }
while (($#)) && [ "$1" != -- ]; do targets+=("$1"); shift; done && shift $(($# > 0))
((${#targets[@]})) || targets=(scanner trim command_line)
scripts/install-deps.sh clang-14 libclang-rt-14-dev util-linux
mkdir -p "$b" && exec 9>"$b/.build-lock" && flock 9  # runs that share the tree build in turn
cmake -S . -B "$b" -DCMAKE_CXX_COMPILER=clang++-14 -DSARNIK_FUZZ=ON -DSARNIK_TESTS=OFF -DSARNIK_WERROR=ON >/dev/null
cmake --build "$b" -j"$(nproc)" --target "${targets[@]/%/_fuzzer}" >/dev/null && exec 9>&-
for t in "${targets[@]}"; do
  findings=$b/findings/$t/$stamp log=$b/logs/$t-$stamp.log rc=0
  mkdir -p "$b/run/$t" "$findings" "$b/logs"
  UBSAN_OPTIONS=halt_on_error=1 "$b/fuzz/${t}_fuzzer" -max_total_time="$seconds" -max_len=$([ "$t" = scanner ] && echo 131072 || echo 4096) -timeout=30 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "$@" "$b/run/$t" $(ls -d fuzz/corpus/$t 2>/dev/null) >"$log" 2>&1 || rc=$?
  echo "$t: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") executions, exit code $rc (log: $log)"
  [ "$rc" = 0 ] && [ -z "$(find "$findings" -type f ! -name 'slow-unit-*')" ] || { failed=1 && tail -20 "$log"; }
  rmdir "$findings" 2>/dev/null || true
done
exit $failed
