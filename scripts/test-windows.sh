#!/usr/bin/env bash
# MinGW-w64 cross-build in build/windows and its ZIP checked, then the command-line suite (built
# natively, in test.sh's tree) run on the ZIP's programs under Wine in a Japanese locale (code
# page 932).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/common.sh
err() { echo "error: $*" >&2; exit 1; }
scripts/install-deps.sh g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 wine wine64 unzip locales
locale -a 2>/dev/null | grep -ix 'ja_JP.utf8' >/dev/null || {
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null; as_root locale-gen; }
export LANG=ja_JP.UTF-8 && unset LC_ALL
configure_and_build build/windows --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DSARNIK_WERROR=ON
rm -rf build/windows/zip && cpack --config build/windows/CPackConfig.cmake -G ZIP -B build/windows/zip >/dev/null
zip=$(echo build/windows/zip/sarnik-*-win64.zip) && top=$(basename "$zip" .zip) && dir=build/windows/zip/$top
[ "$(unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort | tr '\n' ' ')" = "$top/LICENSE $top/README.txt $top/sarnik-add2.exe $top/sarnik.exe " ] ||
  err "the ZIP holds $(unzip -Z1 "$zip")"
unzip -q "$zip" -d build/windows/zip
# Windows system DLLs only (the C++ runtime linked in); SHLWAPI's StrCSpnIA in add 2 alone.
for exe in sarnik sarnik-add2; do
  dump=$(x86_64-w64-mingw32-objdump -p "$dir/$exe.exe")
  ! sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | grep -viE '^(KERNEL32|MSVCRT|SHLWAPI)\.DLL$' || err "$exe.exe imports the above"
  [ "$(grep -cE '[[:space:]]StrCSpnIA$' <<<"$dump")" = "$([ $exe = sarnik ] && echo 0 || echo 1)" ] || err "$exe.exe and StrCSpnIA"
done
configure_and_build "${native_test_tree[@]}" -- sarnik_cli_tests
# A prefix made in the Japanese locale, without Mono or Gecko; one wineserver for the whole run.
export WINEPREFIX=$root/build/windows/wineprefix-ja WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
mkdir -p "$WINEPREFIX" && { wineserver -k; wineserver -w; } 2>/dev/null || true
wineserver -p && trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i </dev/null >/dev/null 2>&1 || true
SARNIK_RUNNER=wine SARNIK_BIN=$root/$dir/sarnik.exe SARNIK_ADD2_BIN=$root/$dir/sarnik-add2.exe "${native_test_tree[0]}/tests/sarnik_cli_tests"
