#!/usr/bin/env bash
# Cross-builds sarnik.exe (add 3) and sarnik-add2.exe (add 2) with MinGW-w64
# in build/windows, checks their imports and the ZIP, and runs the
# command-line suite (built natively in build/windows-runner) against them
# under Wine in a Japanese locale (code page 932, as on Japanese Windows).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 \
  wine wine64 unzip locales
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  sudo=$([ "$(id -u)" -eq 0 ] || echo sudo)
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen
fi
export LANG=ja_JP.UTF-8
unset LC_ALL
cmake --no-warn-unused-cli -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DSARNIK_WERROR=ON >/dev/null
cmake --build build/windows -j"$(nproc)"

# Only Windows system DLLs; SHLWAPI's StrCSpnIA for add 2 alone.
for exe in sarnik sarnik-add2; do
  dump=$(x86_64-w64-mingw32-objdump -p "build/windows/$exe.exe")
  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'a-z' 'A-Z' | sort -u | tr '\n' ' ')
  echo "$exe.exe imports: $dlls"
  if tr ' ' '\n' <<<"$dlls" | grep -vE '^$|^(KERNEL32|MSVCRT|SHLWAPI|NTDLL|ADVAPI32|USER32)\.DLL$' | grep -q .; then
    echo "error: $exe.exe imports a DLL that is not a Windows system DLL" >&2 && exit 1
  fi
  want=0 && [ $exe = sarnik ] || want=1
  [ "$(grep -cE '[[:space:]]StrCSpnIA[[:space:]]*$' <<<"$dump")" = $want ] || { echo "error: $exe.exe and StrCSpnIA" >&2; exit 1; }
done
bash tests/workflow/zip_test.sh build/windows

cmake -S . -B build/windows-runner -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/windows-runner -j"$(nproc)" --target sarnik_cli_tests
# A prefix of its own for the Japanese locale, no Mono or Gecko, and one
# wineserver for the whole run, so that wine starts fast and no service
# holds the test's pipes open.
export WINEPREFIX=$root/build/windows/wineprefix-ja WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wineboot -i </dev/null >/dev/null 2>&1 || true
SARNIK_RUNNER=wine SARNIK_BIN=$root/build/windows/sarnik.exe SARNIK_ADD2_BIN=$root/build/windows/sarnik-add2.exe \
  build/windows-runner/tests/sarnik_cli_tests
