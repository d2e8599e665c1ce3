#!/usr/bin/env bash
# The developer's fast loop: installs what is missing, builds the plain build
# and runs the unit and widget tests (ctest labels unit and gui), with the
# soak test shortened. The whole suite, sanitizers and Windows included, is
# scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

export QT_QPA_PLATFORM=offscreen
export ZUVA_SOAK_READINGS=${ZUVA_SOAK_READINGS:-500}
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVA_BUILD_TESTS=ON >/dev/null
cmake --build build -j "$(nproc)"
ctest --test-dir build --output-on-failure -j "$(nproc)" -L 'unit|gui' "$@"
