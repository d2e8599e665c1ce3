#!/usr/bin/env bash
# Refreshes the README's picture of a reading (docs/reading.png): builds the
# program, starts it on a private X server, types a couple's birth details
# as a keyboard user would, asks for the reading and takes a picture of the
# results window.
#   scripts/screenshot.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-docs/reading.png}")

scripts/deps.sh run
scripts/install-packages.sh xvfb xauth x11-utils xdotool imagemagick
[[ -f build/CMakeCache.txt ]] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZUVA_BUILD_TESTS=OFF >/dev/null
cmake --build build --target vadiveziduzor >/dev/null
program=$PWD/build/vadiveziduzor

# What tests/x11_session.sh expects of its caller.
NAME=screenshot
WORK=$(mktemp -d "${TMPDIR:-/tmp}/screenshot.XXXXXX")
POLL=0.05
WINDOW_TIMEOUT=20
RESULT=FAIL
TITLE_RE='^RU Zuva Zize Vadiveziduzor v1\.75$'
PID=
# shellcheck source=tests/x11_session.sh
source tests/x11_session.sh
trap 'status=$?; stop_process "$PID" KILL; stop_process "$XVFB_PID" TERM; finish_session "$status" 30 "$WORK/program.log"' EXIT

# The first window of the program other than the ones named.
wait_for_window() {
    local deadline=$((SECONDS + WINDOW_TIMEOUT)) w x skip
    while ((SECONDS < deadline)); do
        find_windows "$TITLE_RE" "$PID"
        for w in "${WINDOWS[@]}"; do
            skip=
            for x in "$@"; do [[ $w == "$x" ]] && skip=1; done
            [[ -n $skip ]] || { FOUND=$w; return 0; }
        done
        sleep "$POLL"
    done
    fail "no new window within ${WINDOW_TIMEOUT}s"
}
keys() { xdotool windowfocus --sync "$MAIN" key --delay 20 "$@"; }
text() { xdotool windowfocus --sync "$MAIN" type --delay 20 -- "$1"; }
# A drop-down list entry by its first word; FIRST for the list's first entry.
pick() { if [[ $1 == FIRST ]]; then keys Home; else text "$1"; fi; }

# One person, from the Name box to the Zone list (the window's Tab order):
# name month day year hour minute second city state country
# lon_deg lon_min East|West lat_deg lat_min North|South zone
person() {
    text "$1"; keys Tab
    local list
    for list in "$2" "$3" "$4" "$5" "$6" "$7"; do pick "$list"; keys Tab; done
    keys Tab # Time unknown
    text "$8"; keys Tab; text "$9"; keys Tab; text "${10}"; keys Tab
    text "${11}"; keys Tab; text "${12}"; keys Tab
    [[ ${13} == West ]] && keys Right
    keys Tab
    text "${14}"; keys Tab; text "${15}"; keys Tab
    [[ ${16} == South ]] && keys Right
    keys Tab
    pick "${17}"
}

start_private_x
xdotool mousemove 1279 1023 >/dev/null 2>&1 || true
(cd "$WORK" && exec "$program") >"$WORK/program.log" 2>&1 &
PID=$!
wait_for_window
MAIN=$FOUND

person "James Carter" March 14 1990 8 45 FIRST \
    London England UK 0 7 West 51 30 North Greenwich
keys Tab Tab Tab # Daylight Saving Time and the look-up button, to the partner
person "Priya Sharma" July 2 1992 21 10 FIRST \
    Pune Maharashtra India 73 51 East 18 31 North Indian
keys alt+m
wait_for_window "$MAIN"
results=$FOUND
sleep 1 # let the pictures be drawn

mkdir -p "$(dirname "$out")"
import -window "$results" -strip "$WORK/shot.png"
mv "$WORK/shot.png" "$out"
log "saved $out ($(identify -format '%wx%h' "$out"))"
RESULT=PASS
