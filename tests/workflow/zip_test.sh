#!/usr/bin/env bash
# The Windows ZIP that cpack builds from a MinGW-w64 cross-build tree: the two
# programs next to README.txt under one top folder, both linked statically
# (no C++ runtime DLLs), and the readme in CP932 with CR LF line ends.
#   zip_test.sh <Windows build dir>   (for example build/windows after its build)
set -uo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "  FAILED: $*"; failures=$((failures + 1)); }

cpack --config "$build/CPackConfig.cmake" -G ZIP -B "$work" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack exit code"; }
zips=("$work"/sarnik-*-win64.zip)
if [ ${#zips[@]} -ne 1 ] || [ ! -f "${zips[0]}" ]; then
  fail "cpack made no single sarnik-*-win64.zip"
else
  top=$(basename "${zips[0]}" .zip)
  files=$(unzip -Z1 "${zips[0]}" | grep -v '/$' | LC_ALL=C sort)
  [ "$files" = "$top/README.txt"$'\n'"$top/sarnik-add2.exe"$'\n'"$top/sarnik.exe" ] ||
    fail "files in the ZIP:"$'\n'"$files"
  unzip -q "${zips[0]}" -d "$work/x"
  for exe in sarnik.exe sarnik-add2.exe; do
    dlls=$(x86_64-w64-mingw32-objdump -p "$work/x/$top/$exe" | sed -n 's/.*DLL Name: //p' | tr 'a-z' 'A-Z')
    if grep -qE 'LIBSTDC|LIBGCC|LIBWINPTHREAD' <<<"$dlls"; then fail "$exe needs $(tr '\n' ' ' <<<"$dlls")"; fi
  done
  readme=$work/x/$top/README.txt
  [ "$(grep -c $'\r$' "$readme")" = "$(wc -l <"$readme")" ] || fail "README.txt has lines without CR LF"
  iconv -f CP932 -t UTF-8 "$readme" >"$work/readme.utf8" || fail "README.txt is not CP932"
  grep -q "日本語" "$work/readme.utf8" || fail "README.txt has no Japanese part"
  grep -q "English" "$work/readme.utf8" || fail "README.txt has no English part"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "Windows ZIP checked"
