#!/usr/bin/env bash
# Installs what is missing, the test tools included, builds everything and
# runs every test: once in a plain build and once under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the Windows build's tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# As root (CI), the plain run also installs the Debian package and starts it.
deb_test=OFF
[[ $(id -u) -eq 0 ]] && deb_test=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVA_BUILD_TESTS=ON -DZUVA_TEST_DEB="$deb_test" \
    -DZUVA_WARNINGS_AS_ERRORS=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZUVA_SANITIZE=ON -DZUVA_BUILD_TESTS=ON \
    -DZUVA_WARNINGS_AS_ERRORS=ON
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The fuzzers (clang, libFuzzer, ASan + UBSan) for a bounded time each.
FUZZ_SECONDS="${FUZZ_SECONDS:-15}" scripts/fuzz.sh

# The Windows program, cross-built, with its tests and an end-to-end run under
# Wine. The first run also builds a static Qt for Windows (about half an hour
# on two cores) into a cache that later runs reuse.
scripts/package-windows.sh --test
