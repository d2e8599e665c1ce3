#!/usr/bin/env bash
# Builds the engine benchmark in Release form, runs it and prints how the cost
# of one person's reading compares with the floor of 25 bare sine calls.
set -euo pipefail
cd "$(dirname "$0")/.."

# The build directory can be moved elsewhere, e.g. to keep the tree clean.
build_dir=${ZUVA_BENCH_BUILD_DIR:-build-bench}
jobs=$(nproc)
generator=()
if command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
fi

cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DZUVA_BUILD_BENCH=ON -DZUVA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j "$jobs" --target engine_bench

json=$(mktemp)
trap 'rm -f "$json"' EXIT

"$build_dir"/bench/engine_bench \
    --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$json" \
    --benchmark_out_format=json

python3 - "$json" <<'PY'
import json
import sys

with open(sys.argv[1]) as f:
    data = json.load(f)

medians = {}
for b in data["benchmarks"]:
    if b.get("aggregate_name") == "median":
        medians[b["run_name"]] = (b["real_time"], b["time_unit"])

reading, unit = medians["BM_OnePersonReading"]
floor, floor_unit = medians["BM_TwentyFiveSines"]
if unit != floor_unit:
    sys.exit("time units differ: %s and %s" % (unit, floor_unit))

ratio = reading / floor
target = 1.5
print()
print("median reading: %.1f %s" % (reading, unit))
print("median floor  : %.1f %s" % (floor, unit))
print("ratio reading/floor: %.3f (target at most %.1f): %s"
      % (ratio, target, "MET" if ratio <= target else "NOT MET"))
PY
