#!/usr/bin/env bash
# cmake --install of the build tree into a fresh prefix holds both programs
# and the man page, and the installed program runs.
#   install_test.sh <build dir>
set -euo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
for f in bin/sarnik bin/sarnik-add2 share/man/man1/sarnik.1 share/man/man1/sarnik-add2.1; do
  [ -e "$prefix/$f" ] || { echo "missing: $f" >&2; exit 1; }
done
[ "$("$prefix/bin/sarnik" -h | head -1)" = "Sarnik version 0.1 alpha 3 add 3" ]
[ "$("$prefix/bin/sarnik-add2" -h | head -1)" = "Sarnik version 0.1 alpha 3 add 2" ]
echo "1 passed, 0 failed"
