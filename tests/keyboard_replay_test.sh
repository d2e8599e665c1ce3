#!/usr/bin/env bash
# Types both people's details into the real program by keyboard, as a fast
# typist does, while two busy processes load the processors, and checks that
# every box ends with exactly what was typed: the man's place is picked by
# typing the city and Enter, with no pause for the list; the partner's is
# typed out, its longitude as a decimal. Repeats it (ROUNDS, 20 unless set),
# clearing the form between rounds, under a window manager (openbox) where
# one is installed: after Back the form must be where it was. What the boxes
# held is read from the people store that each reading writes.
#
# Usage: keyboard_replay_test.sh /path/to/vadiveziduzor
# Exit codes: 0 pass, 1 fail, 2 bad usage, 77 skipped (tools missing).
set -euo pipefail

readonly NAME=keyboard_replay
readonly MAIN_TITLE_RE='^RU Zuva Zize Vadiveziduzor v1\.75$'
readonly BOX_TITLE_RE='^RU Zuva Zize Vadiveziduzor$'
readonly WINDOW_TIMEOUT=60 # seconds; the machine may be busy
readonly POLL=0.05
readonly ROUNDS=${ROUNDS:-20}

if [[ $# -ne 1 ]]; then
    echo "usage: $0 /path/to/vadiveziduzor" >&2
    exit 2
fi
PROGRAM=$(realpath -- "$1")
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null 2>&1 || { echo "$NAME: SKIP: '$tool' is not installed"; exit 77; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/keyboard_replay.XXXXXX")
chmod 0700 "$WORK"
# shellcheck source=tests/x11_session.sh
source "$(dirname "$0")/x11_session.sh"
A_PID=
BUSY=()
RESULT=FAIL
cleanup() {
    local status=$?
    trap - EXIT
    for pid in "${BUSY[@]}"; do stop_process "$pid" KILL; done
    stop_process "$A_PID" KILL
    stop_process "$WM_PID" TERM
    stop_process "$XVFB_PID" TERM
    finish_session "$status" 60 "$WORK/program.log" "$WORK/store.txt"
}
trap cleanup EXIT

start_private_x
start_window_manager
STORE=$XDG_CONFIG_HOME/zuvazize/vadiveziduzor-people.json
(cd "$WORK" && exec "$PROGRAM") >"$WORK/program.log" 2>&1 &
A_PID=$!
wait_until "$WINDOW_TIMEOUT" has_window "$MAIN_TITLE_RE" "$A_PID" ||
    fail "the program showed no window (running: $(is_running "$A_PID" && echo yes || echo no);" \
        "its windows: $(xdotool search --all --pid "$A_PID" 2>/dev/null | tr '\n' ' '))"
MAIN=${WINDOWS[0]}
for _ in 1 2; do
    (while :; do :; done) &
    BUSY+=($!)
done
log "program $A_PID shows window $MAIN; two busy processes run beside it"

not() { ! "$@"; }
# A shown window of the program's other than the form, in OTHER.
other_window() {
    find_windows "$MAIN_TITLE_RE" "$A_PID"
    for w in "${WINDOWS[@]}"; do
        [[ $w != "$MAIN" ]] && { OTHER=$w; return 0; }
    done
    return 1
}
form_shown() { xdotool search --onlyvisible --pid "$A_PID" --name "$MAIN_TITLE_RE" 2>/dev/null | grep -qx "$MAIN"; }
where() { xdotool getwindowgeometry "$MAIN" 2>/dev/null | tr -s ' \n' ' '; }

# One person's object in the store, as "key": value lines.
person_in_store() {
    awk -v who="\"$1\": {" 'index($0, who) { inside = 1; depth = 0 }
        inside { print; depth += gsub(/\{/, "{"); depth -= gsub(/\}/, "}"); if (depth == 0) exit }' "$STORE" |
        sed 's/^ *//; s/,$//'
}

expect() { # who line...
    local who=$1 line got
    shift
    got=$(person_in_store "$who")
    for line in "$@"; do
        grep -qxF -- "$line" <<<"$got" || {
            printf '%s\n' "$got" >"$WORK/store.txt"
            fail "round $ROUND: the $who's store lacks $line"
        }
    done
}

PLACE=$(where)
for ((ROUND = 1; ROUND <= ROUNDS; ROUND++)); do
    rm -f "$STORE"
    # The man: his city and Enter picks Pune from the list at once; the
    # boxes the pick filled are passed with Tab.
    type_text "$MAIN" "John Smith"
    keys "$MAIN" Tab
    type_text "$MAIN" May; keys "$MAIN" Tab
    type_text "$MAIN" 1; keys "$MAIN" Tab
    type_text "$MAIN" 1990; keys "$MAIN" Tab
    type_text "$MAIN" 14; keys "$MAIN" Tab
    type_text "$MAIN" 30; keys "$MAIN" Tab Tab Tab
    type_text "$MAIN" Pune; keys "$MAIN" Return
    keys "$MAIN" Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
    # The partner, typed out; Tab follows the city at once.
    type_text "$MAIN" "Priya {Sharma}"; keys "$MAIN" Tab
    type_text "$MAIN" April; keys "$MAIN" Tab
    type_text "$MAIN" 12; keys "$MAIN" Tab
    type_text "$MAIN" 1992; keys "$MAIN" Tab
    type_text "$MAIN" 5; keys "$MAIN" Tab
    type_text "$MAIN" 30; keys "$MAIN" Tab Tab Tab
    type_text "$MAIN" Lonavla; keys "$MAIN" Tab
    type_text "$MAIN" Maharashtra; keys "$MAIN" Tab
    type_text "$MAIN" India; keys "$MAIN" Tab
    type_text "$MAIN" 73.4062; keys "$MAIN" Tab Tab Tab
    type_text "$MAIN" 18; keys "$MAIN" Tab
    type_text "$MAIN" 45; keys "$MAIN" Tab Tab
    type_text "$MAIN" Indian
    keys "$MAIN" alt+m
    wait_until "$WINDOW_TIMEOUT" test -s "$STORE" || fail "round $ROUND: no reading was made"

    expect man '"name": "John Smith"' '"month": 5' '"day": 1' '"year": 1990' '"hour": 14' '"minute": 30' \
        '"second": 0' '"city": "Pune"' '"state": "Maharashtra"' '"country": "India"' '"longitudeDegrees": "73"' \
        '"longitudeMinutes": "51"' '"latitudeDegrees": "18"' '"latitudeMinutes": "31"' '"west": false' \
        '"south": false' '"zone": 34' '"timeZone": "Asia/Kolkata"'
    expect partner '"name": "Priya {Sharma}"' '"month": 4' '"day": 12' '"year": 1992' '"hour": 5' \
        '"minute": 30' '"second": 0' '"city": "Lonavla"' '"state": "Maharashtra"' '"country": "India"' \
        '"longitudeDegrees": "73"' '"longitudeMinutes": "24"' '"latitudeDegrees": "18"' '"latitudeMinutes": "45"' \
        '"west": false' '"south": false' '"zone": 34'

    # Back, and both people cleared for the next round: Yes to the question,
    # then the man's group's access key leads to his name.
    wait_until "$WINDOW_TIMEOUT" other_window || fail "round $ROUND: no results window"
    keys "$OTHER" alt+b
    wait_until "$WINDOW_TIMEOUT" form_shown || fail "round $ROUND: no form after Back"
    wait_until 5 test "$(where)" = "$PLACE" || fail "round $ROUND: the form was at $PLACE and came back at $(where)"
    keys "$MAIN" alt+f c
    wait_until "$WINDOW_TIMEOUT" has_window "$BOX_TITLE_RE" "$A_PID" || fail "round $ROUND: no question before clearing"
    keys "${WINDOWS[0]}" alt+y
    wait_until "$WINDOW_TIMEOUT" not has_window "$BOX_TITLE_RE" "$A_PID" || fail "round $ROUND: the question stayed"
    keys "$MAIN" alt+y
    log "round $ROUND: every box held what was typed"
done
RESULT=PASS
