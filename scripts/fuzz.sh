#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each for a
# bounded time or number of executions, then prints per target the
# executions done and the findings (the inputs libFuzzer saved for a crash,
# a leak, a timeout or an out-of-memory stop). Slow units (inputs that took
# more than 10 s of wall time, well under the 30 s timeout) are listed too,
# but are no failure: a busy or paused machine makes them.
#
#   scripts/fuzz.sh [-t SECONDS] [-r RUNS] [TARGET...] [-- LIBFUZZER-FLAG...]
#
#   -t SECONDS  time per target (default 60; 0: no time limit)
#   -r RUNS     executions per target (default: no limit)
#   TARGET      scanner, trim, command_line (default: all three, one after
#               the other)
#   after --    further flags for libFuzzer, such as -jobs or -dict
#
# Each target keeps the corpus it grows in build/fuzz/run/<target>/corpus and
# starts from it and from the committed seeds in fuzz/corpus/<target>. The
# findings of a run go to build/fuzz/findings/<target>/<time of the run>/,
# its log to build/fuzz/logs/<target>/<time of the run>.log; to replay a
# finding: build/fuzz/fuzz/<target>_fuzzer <file>.
# Exits 1 when any target found something or failed to run.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
runs=-1
while getopts "t:r:" opt; do
  case $opt in
    t) seconds=$OPTARG ;;
    r) runs=$OPTARG ;;
    *) sed -n '7,14p' "$0" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
targets=()
while (($#)) && [ "${1:0:1}" != "-" ]; do targets+=("$1"); shift; done
[ "${1:-}" != "--" ] || shift
extra_flags=("$@")
((${#targets[@]})) || targets=(scanner trim command_line)
for target in "${targets[@]}"; do
  case $target in
    scanner | trim | command_line) ;;
    *) echo "unknown fuzz target: $target" >&2; exit 2 ;;
  esac
done

# Several runs may share the build directory (two targets at a time on two
# cores): one builds while the others wait.
scripts/install-deps.sh clang-14 libclang-rt-14-dev util-linux
build=build/fuzz
mkdir -p "$build"
(
  flock 9
  cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSARNIK_FUZZ=ON -DSARNIK_SANITIZE=OFF -DSARNIK_TESTS=OFF -DSARNIK_WERROR=ON >/dev/null
  cmake --build "$build" -j"$(nproc)" --target "${targets[@]/%/_fuzzer}" >/dev/null
) 9>"$build/.build-lock"

# The longest input each target is given: the scanner's must span several
# 32768-byte blocks for the refill rules to be reached.
max_len() {
  case $1 in
    scanner) echo 131072 ;;
    *) echo 4096 ;;
  esac
}

stamp=$(date -u +%Y%m%dT%H%M%SZ)-$$
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
failed=0
for target in "${targets[@]}"; do
  work=$build/run/$target
  findings=$build/findings/$target/$stamp
  # Runs of one target may overlap: each has a log of its own.
  log=$build/logs/$target/$stamp.log
  mkdir -p "$work/corpus" "$findings" "${log%/*}"
  started=$(date +%s)
  set +e
  "$build/fuzz/${target}_fuzzer" -max_total_time="$seconds" -runs="$runs" -max_len="$(max_len "$target")" \
    -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
    "${extra_flags[@]}" "$work/corpus" "fuzz/corpus/$target" >"$log" 2>&1
  rc=$?
  set -e
  elapsed=$(($(date +%s) - started))
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  mapfile -t found < <(find "$findings" -type f ! -name 'slow-unit-*' | sort)
  mapfile -t slow < <(find "$findings" -type f -name 'slow-unit-*' | sort)
  echo "$target: ${executions:-unknown} executions in ${elapsed} s, ${#found[@]} findings, corpus $(find "$work/corpus" -type f | wc -l) inputs (log: $log)"
  for file in "${found[@]}"; do echo "  finding: $file"; done
  for file in "${slow[@]}"; do echo "  slow unit (replay it to time it): $file"; done
  if ((${#found[@]})); then
    failed=1
    grep -m1 -E "ERROR: |runtime error|invariant broken" "$log" | sed 's/^/  /' || true
  elif [ "$rc" -ne 0 ]; then
    failed=1
    echo "  the fuzzer ended with exit code $rc:"
    tail -20 "$log" | sed 's/^/  /'
  elif ((${#slow[@]} == 0)); then
    rmdir "$findings" 2>/dev/null || true
  fi
done
exit $failed
