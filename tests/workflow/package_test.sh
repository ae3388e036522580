#!/usr/bin/env bash
# The Debian package that cpack builds, as lintian checks it, and its man
# page as man renders it (dpkg-dev, lintian and man-db are needed).
#   package_test.sh <build dir> <source dir>
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
cpack --config "$1/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
deb=$(ls "$work"/sarnik_*_*.deb) || exit 1
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | LC_ALL=C sort | tr '\n' ' ')
[ "$files" = "./usr/bin/sarnik ./usr/bin/sarnik-add2 ./usr/share/doc/sarnik/changelog.gz ./usr/share/doc/sarnik/copyright ./usr/share/man/man1/sarnik-add2.1.gz ./usr/share/man/man1/sarnik.1.gz " ] ||
  fail "files in the package: $files"
[ "$(grep -cE '^-rwxr-xr-x root/root .* \./usr/bin/sarnik(-add2)?$' <<<"$listing")" = 2 ] || fail "programs not rwxr-xr-x root/root"
version=$(sed -n 's/^project(sarnik VERSION \([0-9.]*\).*/\1/p' "$2/CMakeLists.txt")
[ "$(dpkg-deb -f "$deb" Package Architecture Version | tr '\n' ' ')" = "Package: sarnik Architecture: $(dpkg --print-architecture) Version: $version " ] ||
  fail "control fields: $(dpkg-deb -f "$deb" Package Architecture Version)"
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *"libc6 (>= "* && $depends == *"libstdc++6 (>= "* ]] || fail "Depends not versioned: $depends"
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || fail "lintian: $(cat "$work/lintian")"
dpkg-deb -x "$deb" "$work/root"
[ "$("$work/root/usr/bin/sarnik" -h | head -n 1)" = "Sarnik version 0.1 alpha 3 add 3" ] || fail "packaged sarnik -h"
page=$work/root/usr/share/man/man1/sarnik.1.gz
cmp -s <(gzip -dc "$page") "$2/man/sarnik.1" || fail "the packaged page is not man/sarnik.1"
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >"$work/page" 2>"$work/warnings" || fail "man exit code $?"
[ ! -s "$work/warnings" ] || fail "man warnings: $(cat "$work/warnings")"
for heading in NAME SYNOPSIS DESCRIPTION OPTIONS "TRIM TEXT" "THE -x NAME RULES" "EXIT STATUS" EXAMPLES; do
  grep -qx "$heading" "$work/page" || fail "no section $heading"
done
for option in "-t trim" "-o outfile" "-d ms" "-a" "-f rate" "-x" "-h, -?" "infile"; do
  grep -qE "^ {7}$(sed 's/[?.]/\\&/g' <<<"$option")( |$)" "$work/page" || fail "option $option not described"
done
grep -q "エラー: ..." "$work/page" || fail "the error line is not shown in UTF-8"
[ "$failures" -eq 0 ] && echo "package and man page checked"
