#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64 and runs the command-line
# test suite against the .exe files under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine wine64

cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DSARNIK_WERROR=ON >/dev/null
cmake --build build/windows -j"$(nproc)"

# The add 3 program must not import SHLWAPI; the add 2 program must.
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/.*DLL Name: //p' | tr 'a-z' 'A-Z'; }
if imports build/windows/sarnik.exe | grep -q SHLWAPI; then echo "sarnik.exe imports SHLWAPI" >&2; exit 1; fi
imports build/windows/sarnik-add2.exe | grep -q SHLWAPI || { echo "sarnik-add2.exe lacks SHLWAPI" >&2; exit 1; }

# The test runner itself is a Linux program.
cmake -S . -B build/windows-runner -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/windows-runner -j"$(nproc)" --target sarnik_cli_tests

export WINEPREFIX=$PWD/build/windows/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1 || true
wineserver -p || true  # one server for all runs (it may be running already): each start is then quick
trap 'wineserver -k || true' EXIT
SARNIK_RUNNER=wine SARNIK_BIN=$PWD/build/windows/sarnik.exe SARNIK_ADD2_BIN=$PWD/build/windows/sarnik-add2.exe \
  build/windows-runner/tests/sarnik_cli_tests
