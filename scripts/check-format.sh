#!/usr/bin/env bash
# Fails on a C++ file of src/, tests/ or fuzz/ that the repository's .clang-format would change.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --only clang-format
git ls-files -z 'src/*.cpp' 'src/*.hpp' 'tests/*.cpp' 'tests/*.hpp' 'fuzz/*.cpp' |
  xargs -0 clang-format --dry-run --Werror
echo "every C++ file is formatted"
