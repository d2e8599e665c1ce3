#!/usr/bin/env bash
# Installs what building and running need (not the test tools), builds the
# program and starts it. Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
# Without GoogleTest the test targets cannot even be configured; once
# scripts/test.sh has installed it, the build folder keeps them.
options=()
dpkg-query -W -f='${Status}' libgtest-dev 2>/dev/null | grep -q "install ok installed" ||
    options+=(-DZUVA_BUILD_TESTS=OFF)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
cmake --build build --target vadiveziduzor
exec build/vadiveziduzor "$@"
