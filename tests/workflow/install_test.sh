#!/usr/bin/env bash
# cmake --install of the build tree into a fresh prefix: both programs and
# their man pages, gzipped, the copyright file and changelog, nothing else, and the
# installed programs run.
#   install_test.sh <build dir> <source dir>
set -uo pipefail
build=$1 source_dir=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install exit code $?"
expected="bin/sarnik
bin/sarnik-add2
share/doc/sarnik/changelog.gz
share/doc/sarnik/copyright
share/man/man1/sarnik-add2.1.gz
share/man/man1/sarnik.1.gz"
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$installed" = "$expected" ] || fail "installed files:"$'\n'"$installed"
for program in sarnik sarnik-add2; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done
for page in sarnik sarnik-add2; do
  cmp -s <(gzip -dc "$prefix/share/man/man1/$page.1.gz") "$source_dir/man/sarnik.1" ||
    fail "$page.1.gz is not man/sarnik.1 gzipped"
done

# The installed programs, run from the prefix: banner and usage, exit code 0.
for pair in "sarnik:add 3" "sarnik-add2:add 2"; do
  program=${pair%%:*} revision=${pair#*:}
  out=$("$prefix/bin/$program" -h)
  status=$?
  [ "$status" -eq 0 ] || fail "$program -h exit code $status"
  [ "$(printf '%s\n' "$out" | head -n 1)" = "Sarnik version 0.1 alpha 3 $revision" ] || fail "$program banner"
  [ "$(printf '%s\n' "$out" | sed -n 2p)" = "Usage: sarnik [options] -t xxxx -o <outfile> <infiles>" ] || fail "$program usage"
done

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "install tree checked"
