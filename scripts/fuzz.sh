#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time.
#   scripts/fuzz.sh [seconds per target, default 60] [runs limit, default none]
# Prints the executions and findings of each target; exits 1 on a finding.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
runs=${2:--1}
scripts/install-deps.sh clang libclang-rt-14-dev
CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSARNIK_FUZZ=ON \
  -DSARNIK_SANITIZE=ON -DSARNIK_TESTS=OFF >/dev/null
cmake --build build/fuzz -j"$(nproc)" --target scanner_fuzzer trim_fuzzer command_line_fuzzer >/dev/null

found=0
for target in scanner trim command_line; do
  work=build/fuzz/run/$target
  mkdir -p "$work/corpus" "$work/findings"
  log=$work/log.txt
  set +e
  build/fuzz/fuzz/${target}_fuzzer -max_total_time="$seconds" -runs="$runs" -max_len=70000 \
    -artifact_prefix="$work/findings/" -print_final_stats=1 "$work/corpus" "fuzz/corpus/$target" >"$log" 2>&1
  rc=$?
  set -e
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  findings=$(find "$work/findings" -type f | wc -l)
  echo "$target: ${execs:-?} executions, $findings findings (exit $rc)"
  if [ "$rc" -ne 0 ] || [ "$findings" -ne 0 ]; then found=1; tail -30 "$log"; fi
done
exit $found
