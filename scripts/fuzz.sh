#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each for a
# time, from its corpus in build/fuzz/run/<target> and the seeds in
# fuzz/corpus/<target>. Findings go to build/fuzz/findings/<target>/, logs to
# build/fuzz/logs/; replay one with build/fuzz/fuzz/<target>_fuzzer <file>.
# Slow units are listed but are no failure. Exits 1 on any finding.
#
#   scripts/fuzz.sh [-t SECONDS per target, default 60] [TARGET...] [-- LIBFUZZER-FLAG...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=60
[ "${1:-}" != -t ] || { seconds=$2; shift 2; }
targets=()
while (($#)) && [ "$1" != -- ]; do targets+=("$1"); shift; done
[ "${1:-}" != -- ] || shift
((${#targets[@]})) || targets=(scanner trim command_line)
scripts/install-deps.sh clang-14 libclang-rt-14-dev util-linux
build=build/fuzz
mkdir -p "$build"
(
  flock 9  # runs sharing the build tree build one at a time
  cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSARNIK_FUZZ=ON -DSARNIK_TESTS=OFF -DSARNIK_WERROR=ON >/dev/null
  cmake --build "$build" -j"$(nproc)" --target "${targets[@]/%/_fuzzer}" >/dev/null
) 9>"$build/.build-lock"
stamp=$(date -u +%Y%m%dT%H%M%SZ)-$$
failed=0
for target in "${targets[@]}"; do
  findings=$build/findings/$target/$stamp log=$build/logs/$target-$stamp.log
  mkdir -p "$build/run/$target" "$findings" "$build/logs"
  # The scanner's inputs span several 32768-byte blocks.
  max_len=4096 && [ "$target" != scanner ] || max_len=131072
  rc=0
  UBSAN_OPTIONS=halt_on_error=1 "$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -max_len=$max_len \
    -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "$@" "$build/run/$target" "fuzz/corpus/$target" \
    >"$log" 2>&1 || rc=$?
  found=$(find "$findings" -type f ! -name 'slow-unit-*')
  echo "$target: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") executions, exit code $rc (log: $log)"
  find "$findings" -type f | sed 's/^/  /'
  if [ -n "$found" ] || [ "$rc" -ne 0 ]; then failed=1 && tail -20 "$log" | sed 's/^/  /'; fi
  rmdir "$findings" 2>/dev/null || true
done
exit $failed
