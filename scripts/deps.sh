#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing.
#   scripts/deps.sh run    what building and running the program need
#   scripts/deps.sh        that, plus everything the tests, fuzzers,
#                          benchmarks and the package check need
set -euo pipefail

# Building and running.
run_packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev libgeonames-dev
    fonts-dejavu-core
)

# Tests only.
packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick openbox
    pandoc unrtf poppler-utils libreoffice-writer-nogui
    desktop-file-utils appstream dpkg-dev file valgrind lintian locales
    clang libclang-rt-14-dev
    fonts-symbola fonts-lohit-deva
)

case ${1:-} in
run) packages=() ;;
"") ;;
*)
    echo "usage: $0 [run]" >&2
    exit 2
    ;;
esac
"$(dirname "$0")/install-packages.sh" "${run_packages[@]}" "${packages[@]}"
