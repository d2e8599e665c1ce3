#!/usr/bin/env bash
# One full reading with its report under memcheck: no invalid access and no
# definite leak. Arguments: the report test binary, the suppressions file.
set -euo pipefail
command -v valgrind >/dev/null || { echo "valgrind missing: SKIP"; exit 77; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
QT_QPA_PLATFORM=offscreen valgrind --quiet --leak-check=full --show-leak-kinds=definite \
    --errors-for-leak-kinds=definite --error-exitcode=3 --num-callers=40 \
    --suppressions="$2" "$1" reportRunByRun savedFileReadsBackElsewhere >"$log" 2>&1 || status=$?
if [[ $status -ne 0 ]]; then
    grep -E '^==[0-9]+==' "$log" | head -120
    echo "valgrind: FAIL (exit $status)"
    exit 1
fi
echo "valgrind: PASS"
