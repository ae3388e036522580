#!/usr/bin/env bash
# cmake --install into a fresh prefix: both programs, their man pages
# gzipped, the copyright file and changelog, nothing else; the programs run.
#   install_test.sh <build dir> <source dir>
set -uo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
cmake --install "$1" --prefix "$prefix" >/dev/null || fail "cmake --install exit code $?"
installed=$(cd "$prefix" && find . -type f | LC_ALL=C sort | tr '\n' ' ')
[ "$installed" = "./bin/sarnik ./bin/sarnik-add2 ./share/doc/sarnik/changelog.gz ./share/doc/sarnik/copyright ./share/man/man1/sarnik-add2.1.gz ./share/man/man1/sarnik.1.gz " ] ||
  fail "installed files: $installed"
for pair in "sarnik:add 3" "sarnik-add2:add 2"; do
  program=${pair%%:*}
  cmp -s <(gzip -dc "$prefix/share/man/man1/$program.1.gz") "$2/man/sarnik.1" || fail "$program.1.gz is not man/sarnik.1"
  out=$("$prefix/bin/$program" -h) || fail "$program -h exit code $?"
  [ "$(head -n 2 <<<"$out")" = "Sarnik version 0.1 alpha 3 ${pair#*:}"$'\n'"Usage: sarnik [options] -t xxxx -o <outfile> <infiles>" ] ||
    fail "$program -h: $out"
done
[ "$failures" -eq 0 ] && echo "install tree checked"
