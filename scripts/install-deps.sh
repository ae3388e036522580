#!/usr/bin/env bash
# Installs what building and testing sarnik need, from Debian's packages.
# Packages already present are left alone; nothing is installed twice.
set -euo pipefail

packages=(cmake g++ make libgtest-dev libgmock-dev googletest ffmpeg "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
