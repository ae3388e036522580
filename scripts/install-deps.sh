#!/usr/bin/env bash
# Installs the Debian packages that are missing, with apt-get: as root
# directly, else through sudo (as_root). apt-get's and dpkg's messages go to
# build/install-deps.log and are shown only when the installation fails.
#
#   scripts/install-deps.sh [package...]        what building and testing need, and these
#   scripts/install-deps.sh --only package...   only these
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

if [ "${1:-}" = --only ]; then
  shift
  packages=("$@")
else
  # The compiler and build tools; GoogleTest; ffmpeg for the tests with real
  # audio; dpkg-dev (dpkg-shlibdeps), lintian and man-db for the package test.
  packages=(cmake g++ make libgtest-dev libgmock-dev googletest ffmpeg dpkg-dev lintian man-db "$@")
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
((${#missing[@]})) || exit 0

mkdir -p build
log=build/install-deps.log
echo "installing ${missing[*]} (messages in $log)"
if ! { as_root apt-get update -q &&
       as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  tail -n 20 "$log" >&2
  echo "$0: the installation failed; the whole log is $log" >&2
  exit 1
fi
