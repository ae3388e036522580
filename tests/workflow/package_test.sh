#!/usr/bin/env bash
# The Debian package of the install tree: its files and modes, control fields, lintian, the
# copyright file, both programs and man pages.   package_test.sh <source dir> <build dir>
# (SARNIK_VERSION_TEXT and SARNIK_PACKAGE_VERSION: the versions the build gives, as ctest sets them)
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
cpack --config "$2/CPackConfig.cmake" -G DEB -B "$work" >"$work/log" 2>&1 ||
  fail "cpack: $(cat "$work/log")"
deb=$(ls "$work"/sarnik_*_*.deb) || exit 1
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6, $1, $2 }' | LC_ALL=C sort | tr '\n' ' ')
share=(./usr/share/{doc/sarnik/{changelog.gz,copyright},man/man1/{sarnik-add2,sarnik}.1.gz})
[ "$files" = "$(printf '%s root/root ' "./usr/bin/sarnik -rwxr-xr-x" \
  "./usr/bin/sarnik-add2 -rwxr-xr-x" "${share[@]/%/ -rw-r--r--}")" ] ||
  fail "files in the package: $files"
control=$(dpkg-deb -f "$deb" Package Architecture Version Depends | tr '\n' ' ')
want="Package: sarnik Architecture: $(dpkg --print-architecture) Version: $SARNIK_PACKAGE_VERSION"
[[ $control == "$want Depends: "*"libc6 (>= "*"libstdc++6 (>= "* ]] ||
  fail "control fields (Depends versioned): $control"
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || fail "lintian: $(cat "$work/lintian")"
dpkg-deb -x "$deb" "$work/root"
# the machine-readable format: LICENSE's holder and text, MIT
c=$work/root/usr/share/doc/sarnik/copyright
format=https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
holder=$(sed -n '3s/.*(c) //p' "$1/LICENSE")
[ "$(grep -e '^Format: ' -e '^Copyright: ' -e '^License: ' "$c" | tr '\n' '|')" = \
  "Format: $format|Copyright: $holder|License: MIT|License: MIT|" ] &&
  cmp -s <(sed -e '1,/^ Permission/{/^ Permission/!d}' -e 's/^ //; s/^\.$//' "$c") \
    <(sed 1,4d "$1/LICENSE") || fail "copyright: not LICENSE's"
for p in "sarnik:add 3" "sarnik-add2:add 2"; do
  "$work/root/usr/bin/${p%%:*}" -h | grep -qx "Sarnik version $SARNIK_VERSION_TEXT ${p#*:}" ||
    fail "${p%%:*}"
  cmp -s <(gzip -dc "$work/root/usr/share/man/man1/${p%%:*}.1.gz") \
    <(sed "1s/@SARNIK_VERSION_TEXT@/$SARNIK_VERSION_TEXT/" "$1/man/sarnik.1.in") ||
    fail "${p%%:*}.1.gz is not man/sarnik.1.in with the version"
done
[ "$failures" -eq 0 ] && echo "package checked"
