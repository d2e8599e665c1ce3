#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a short while
# on a copy of its seeds. Needs neither Qt nor GoogleTest.
#   FUZZ_BUILD_DIR  build directory (default: build-fuzz)
#   FUZZ_SECONDS    run time per target (default: 25)
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(clang libclang-rt-14-dev cmake make)
scripts/install-packages.sh "${packages[@]}"

build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-25}
jobs=$(nproc)

cmake -S tests/fuzz -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DZUVA_FUZZ_SECONDS="$seconds"
cmake --build "$build" -j "$jobs"

status=0
ctest --test-dir "$build" --output-on-failure -j "$jobs" | tee "$build/ctest.out" || status=$?

# Executions per second from each fuzzer's closing statistics.
log="$build/Testing/Temporary/LastTest.log"
if [[ -f $log ]]; then
    awk '/^[0-9]+\/[0-9]+ Testing: / { name = $3 }
         /^stat::number_of_executed_units:/ { runs = $2 }
         /^stat::average_exec_per_sec:/ { printf "%-22s %10d runs %8d exec/s\n", name, runs, $2 }' "$log"
fi
grep -E '^[0-9]+% tests passed' "$build/ctest.out" || true
exit "$status"
