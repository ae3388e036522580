#!/usr/bin/env bash
# Builds sarnik and runs it on the bundled sample: the information report,
# then a cut by the bundled script. Console text is CP932; it is shown here
# converted to UTF-8.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/demo -DCMAKE_BUILD_TYPE=Release -DSARNIK_TESTS=OFF >/dev/null
cmake --build build/demo -j"$(nproc)" --target sarnik >/dev/null
mkdir -p out
build/demo/sarnik samples/sample.aac | iconv -f CP932 -t UTF-8
build/demo/sarnik -t samples/cut.avs -o out/sample-cut.aac samples/sample.aac | iconv -f CP932 -t UTF-8
echo "written: out/sample-cut.aac"
