#!/usr/bin/env bash
# Installs the Debian 12 packages Quillmark needs to build, run, test and benchmark.
# Packages already present are not fetched again.  Runs as root, or through sudo.
set -euo pipefail

packages=(
  build-essential cmake g++ pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev libeigen3-dev
  xvfb xauth fonts-liberation fonts-dejavu-core imagemagick x11-utils
  python3 python3-numpy time clang-format
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
