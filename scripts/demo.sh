#!/usr/bin/env bash
# Builds sarnik and runs it on the bundled sample: a cut by the bundled
# script, which prints the sample's report first. Needs only a compiler,
# CMake and make.
# Console text is CP932; it is shown here converted to UTF-8.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --only cmake g++ make
mkdir -p build
cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=Release -DSARNIK_TESTS=OFF >build/demo.log 2>&1 &&
  cmake --build build/demo -j"$(nproc)" --target sarnik >>build/demo.log 2>&1 ||
  { tail -n 30 build/demo.log >&2; echo "$0: the build failed; the whole log is build/demo.log" >&2; exit 1; }
mkdir -p out
build/demo/sarnik -t samples/cut.avs -o out/sample-cut.aac samples/sample.aac | iconv -f CP932 -t UTF-8
echo "written: out/sample-cut.aac"
