#!/usr/bin/env bash
# Builds sarnik and runs it on the bundled sample: a cut by the bundled
# script, which prints the sample's report first. Needs only a compiler,
# CMake and make.
# Console text is CP932; it is shown here converted to UTF-8.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
scripts/install-deps.sh --only cmake g++ make
configure_and_build build/demo -DCMAKE_BUILD_TYPE=Release -DSARNIK_TESTS=OFF -- sarnik
mkdir -p out
build/demo/sarnik -t samples/cut.avs -o out/sample-cut.aac samples/sample.aac | iconv -f CP932 -t UTF-8
echo "written: out/sample-cut.aac"
