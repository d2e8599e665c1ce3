#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need,
# when any of them is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev libgeonames-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core
    xvfb xauth x11-utils xdotool imagemagick
    pandoc unrtf poppler-utils
    desktop-file-utils appstream dpkg-dev file valgrind
    clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
