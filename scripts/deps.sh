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
    pandoc unrtf poppler-utils libreoffice-writer-nogui
    desktop-file-utils appstream dpkg-dev file valgrind locales
    clang libclang-rt-14-dev
)

"$(dirname "$0")/install-packages.sh" "${packages[@]}"
