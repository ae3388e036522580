#!/usr/bin/env bash
# MinGW-w64 cross-build in build/windows and its ZIP checked, then the command-line suite (built
# natively) run on the ZIP's programs under Wine in a Japanese locale (code page 932).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
err() { echo "error: $*" >&2; exit 1; }
scripts/install-deps.sh g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 wine wine64 unzip locales
locale -a 2>/dev/null | grep -ix 'ja_JP.utf8' >/dev/null || { sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null; $sudo locale-gen; }
export LANG=ja_JP.UTF-8 && unset LC_ALL
cmake --no-warn-unused-cli -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DSARNIK_WERROR=ON >/dev/null
cmake --build build/windows -j"$(nproc)"
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
cmake -S . -B build/windows-runner -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/windows-runner -j"$(nproc)" --target sarnik_cli_tests
# A prefix made in the Japanese locale, without Mono or Gecko; one wineserver for the whole run.
export WINEPREFIX=$root/build/windows/wineprefix-ja WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
mkdir -p "$WINEPREFIX" && { wineserver -k; wineserver -w; } 2>/dev/null || true
wineserver -p && trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i </dev/null >/dev/null 2>&1 || true
SARNIK_RUNNER=wine SARNIK_BIN=$root/$dir/sarnik.exe SARNIK_ADD2_BIN=$root/$dir/sarnik-add2.exe build/windows-runner/tests/sarnik_cli_tests
