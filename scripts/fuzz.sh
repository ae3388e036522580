#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, build/fuzz: the ADTS scanner, the Trim reader, the
# recording's reader) and runs each for a time, from its corpus in build/fuzz/run/<target> and its
# seeds in fuzz/corpus/<target>; findings go to build/fuzz/findings/<target>/.
#   scripts/fuzz.sh [-t SECONDS per target, default 60] [LIBFUZZER-FLAG...]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
targets=(scanner:131072 trim:4096 ts:262144)  # each target and the longest input it is given
b=build/fuzz seconds=60 stamp=$(date -u +%Y%m%dT%H%M%SZ)-$$ failed=0
[ "${1:-}" != -t ] || { seconds=$2; shift 2; }
scripts/install-deps.sh clang-14 libclang-rt-14-dev util-linux
names=("${targets[@]%%:*}")
configure_and_build "$b" -DCMAKE_CXX_COMPILER=clang++-14 -DSARNIK_FUZZ=ON -DSARNIK_TESTS=OFF -DSARNIK_WERROR=ON \
  -- "${names[@]/%/_fuzzer}"
for target in "${targets[@]}"; do
  t=${target%%:*} findings=$b/findings/${target%%:*}/$stamp rc=0
  mkdir -p "$b/run/$t" "$findings"
  UBSAN_OPTIONS=halt_on_error=1 "$b/fuzz/${t}_fuzzer" -max_total_time="$seconds" -max_len="${target#*:}" -timeout=30 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "$@" "$b/run/$t" "fuzz/corpus/$t" \
    >"$findings.log" 2>&1 || rc=$?
  echo "$t: $(sed -n 's/^stat::number_of_executed_units: *//p' "$findings.log") executions, exit code $rc (log: $findings.log)"
  if [ "$rc" = 0 ] && [ -z "$(find "$findings" -type f ! -name 'slow-unit-*')" ]; then
    rmdir "$findings" 2>/dev/null || true  # slow units are kept, not failures
  else
    tail -20 "$findings.log" && failed=1
  fi
done
exit $failed
