#!/usr/bin/env bash
# Installs what building and running need (not the test tools), builds the
# program and starts it. Arguments are passed on to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVA_BUILD_TESTS=OFF >/dev/null
cmake --build build --target vadiveziduzor
exec build/vadiveziduzor "$@"
