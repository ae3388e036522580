#!/usr/bin/env bash
# The Windows ZIP that cpack builds from a MinGW-w64 build tree: both
# programs, linked statically, beside README.txt (CP932, CR LF) in one folder.
#   zip_test.sh <Windows build dir>
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }
cpack --config "$1/CPackConfig.cmake" -G ZIP -B "$work" >"$work/cpack.log" 2>&1 || fail "cpack: $(cat "$work/cpack.log")"
zip=$(ls "$work"/sarnik-*-win64.zip) || exit 1
top=$(basename "$zip" .zip)
files=$(unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort | tr '\n' ' ')
[ "$files" = "$top/README.txt $top/sarnik-add2.exe $top/sarnik.exe " ] || fail "files in the ZIP: $files"
unzip -q "$zip" -d "$work/x"
for exe in sarnik.exe sarnik-add2.exe; do
  ! x86_64-w64-mingw32-objdump -p "$work/x/$top/$exe" | grep -qiE 'DLL Name: (libstdc|libgcc|libwinpthread)' || fail "$exe is not static"
done
readme=$work/x/$top/README.txt
[ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "README.txt has lines without CR LF"
iconv -f CP932 -t UTF-8 "$readme" >"$work/readme" || fail "README.txt is not CP932"
grep -q "日本語" "$work/readme" && grep -q "English" "$work/readme" || fail "README.txt lacks its Japanese or English part"
[ "$failures" -eq 0 ] && echo "Windows ZIP checked"
