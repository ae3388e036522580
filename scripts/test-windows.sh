#!/usr/bin/env bash
# Cross-builds the Windows programs (sarnik.exe, add 3, and sarnik-add2.exe,
# add 2) with MinGW-w64, checks what they import, and runs the command-line
# test suite against the .exe files under Wine. Exits non-zero when the build
# fails, an import is wrong or any test fails.
#
# Build trees: build/windows (the cross-build, with the Wine prefix in
# build/windows/wineprefix-ja) and build/windows-runner (the native test runner).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# Debian's MinGW-w64 (the posix thread model) and Wine, plus what the native
# runner needs; installed only when missing (apt-get update first).
scripts/install-deps.sh g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 \
  wine wine64 unzip locales

# The Japanese locale: Wine takes its ANSI and OEM code pages (932, as on
# Japanese Windows) from the locale that the prefix is made and run under.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -qx 'ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen
fi
export LANG=ja_JP.UTF-8
unset LC_ALL

echo "== cross-build (build/windows)"
cmake --no-warn-unused-cli -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DSARNIK_WERROR=ON >/dev/null
cmake --build build/windows -j"$(nproc)"

# Statically linked: only Windows system DLLs are imported; the add 2 program
# imports SHLWAPI (for StrCSpnIA), the add 3 program does not.
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'a-z' 'A-Z' | sort -u; }
check_imports() {
  local exe=$1 want_shlwapi=$2 dlls
  dlls=$(imports "$exe")
  echo "$exe imports: $(echo $dlls)"
  local dll
  for dll in $dlls; do
    case $dll in
      KERNEL32.DLL | MSVCRT.DLL | SHLWAPI.DLL | NTDLL.DLL | ADVAPI32.DLL | USER32.DLL) ;;
      *) echo "error: $exe imports $dll, which is not a Windows system DLL" >&2; return 1 ;;
    esac
  done
  if [ "$want_shlwapi" = yes ] && ! grep -qx SHLWAPI.DLL <<<"$dlls"; then
    echo "error: $exe does not import SHLWAPI" >&2; return 1
  fi
  if [ "$want_shlwapi" = no ] && grep -qx SHLWAPI.DLL <<<"$dlls"; then
    echo "error: $exe imports SHLWAPI" >&2; return 1
  fi
}
check_imports build/windows/sarnik.exe no
check_imports build/windows/sarnik-add2.exe yes
add2_dump=$(x86_64-w64-mingw32-objdump -p build/windows/sarnik-add2.exe)
grep -q '[[:space:]]StrCSpnIA[[:space:]]*$' <<<"$add2_dump" ||
  { echo "error: sarnik-add2.exe does not import StrCSpnIA" >&2; exit 1; }

# The Windows ZIP that cpack makes from this tree (its own check).
if [ -f tests/workflow/zip_test.sh ]; then
  echo "== Windows ZIP"
  bash tests/workflow/zip_test.sh build/windows
fi

echo "== native test runner (build/windows-runner)"
cmake -S . -B build/windows-runner -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/windows-runner -j"$(nproc)" --target sarnik_cli_tests

echo "== CLI suite under Wine"
# The prefix is made under the Japanese locale (a prefix made under another
# one keeps its code page), so it has a name of its own.
export WINEPREFIX=$root/build/windows/wineprefix-ja
export WINEDEBUG=-all
# No Mono or Gecko: nothing to download, no dialog.
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
mkdir -p "$WINEPREFIX"
# One wineserver for the whole run, started before anything else: wine
# processes then start in milliseconds, and the services that the first one
# starts belong to it instead of holding the test's pipes open until a
# short-lived server goes away. A server left by an earlier run of this
# prefix is ended first.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
# Creates the prefix on the first run (several seconds), starts its services
# on later ones. Its output, and the services it leaves running, go nowhere.
wineboot -i </dev/null >/dev/null 2>&1 || true

SARNIK_RUNNER=wine SARNIK_BIN=$root/build/windows/sarnik.exe SARNIK_ADD2_BIN=$root/build/windows/sarnik-add2.exe \
  build/windows-runner/tests/sarnik_cli_tests
