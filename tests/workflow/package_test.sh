#!/usr/bin/env bash
# The Debian package that cpack builds from the build tree, as lintian checks
# it, and the man page as man renders it. Needs dpkg-dev, lintian and man-db
# (scripts/install-deps.sh installs them).
#   package_test.sh <build dir> <source dir>
set -uo pipefail
build=$1 source_dir=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack exit code"; }
debs=("$work"/sarnik_*_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  fail "cpack made no single sarnik_*.deb"
else
  deb=${debs[0]}
  listing=$(dpkg-deb -c "$deb") || fail "dpkg-deb -c exit code"
  files=$(printf '%s\n' "$listing" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
  expected="./usr/bin/sarnik
./usr/bin/sarnik-add2
./usr/share/doc/sarnik/changelog.gz
./usr/share/doc/sarnik/copyright
./usr/share/man/man1/sarnik-add2.1.gz
./usr/share/man/man1/sarnik.1.gz"
  [ "$files" = "$expected" ] || fail "files in the package:"$'\n'"$files"
  for program in sarnik sarnik-add2; do
    grep -qE "^-rwxr-xr-x root/root .* \./usr/bin/$program\$" <<<"$listing" ||
      fail "usr/bin/$program is not rwxr-xr-x root/root"
  done
  [ "$(dpkg-deb -f "$deb" Package)" = sarnik ] || fail "package name"
  [ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"
  version=$(sed -n 's/^project(sarnik VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is not $version"
  depends=$(dpkg-deb -f "$deb" Depends)
  # Versioned, as dpkg-shlibdeps names them.
  for library in libc6 libstdc++6; do
    [[ $depends == *"$library (>= "* ]] || fail "Depends lacks a versioned $library: $depends"
  done
  if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || fail "lintian: $(cat "$work/lintian")"
  else
    fail "lintian is not installed (package lintian)"
  fi
  # The packaged program runs.
  dpkg-deb -x "$deb" "$work/root"
  [ "$("$work/root/usr/bin/sarnik" -h | head -n 1)" = "Sarnik version 0.1 alpha 3 add 3" ] || fail "packaged sarnik -h"
fi

# man renders the packaged page without warnings, with every section and
# option.
page=$work/root/usr/share/man/man1/sarnik.1.gz
cmp -s <(gzip -dc "$page") "$source_dir/man/sarnik.1" || fail "the packaged page is not man/sarnik.1"
if command -v man >/dev/null; then
  LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >"$work/page" 2>"$work/warnings"
  [ ! -s "$work/warnings" ] || fail "man warnings: $(cat "$work/warnings")"
  for heading in NAME SYNOPSIS DESCRIPTION OPTIONS "TRIM TEXT" "THE -x NAME RULES" "EXIT STATUS" EXAMPLES; do
    grep -qx "$heading" "$work/page" || fail "no section $heading"
  done
  for option in "-t trim" "-o outfile" "-d ms" "-a" "-f rate" "-x" "-h, -?" "infile"; do
    grep -qE "^ {7}$(printf '%s' "$option" | sed 's/[?.]/\\&/g')( |$)" "$work/page" || fail "option $option not described"
  done
  grep -q "エラー: ..." "$work/page" || fail "the error line is not shown in UTF-8"
else
  fail "man is not installed (package man-db): the page was not rendered"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "package and man page checked"
