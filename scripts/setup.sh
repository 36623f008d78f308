#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run. Safe to repeat:
# when everything is present it only checks.
set -euo pipefail

PACKAGES=(
    build-essential cmake ninja-build pkg-config git ccache
    qtbase5-dev libqt5serialport5-dev libqt5charts5-dev qttools5-dev qttools5-dev-tools
    libqcustomplot-dev libeigen3-dev
    libbenchmark-dev liblcms2-dev libfftw3-dev
    clang-14 libclang-rt-14-dev
    fonts-wqy-microhei xvfb xauth x11-apps imagemagick python3 libxcb1-dev
    dfu-util
)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
