#!/usr/bin/env bash
# End-to-end run of the real program as a keyboard user drives it: fill in
# both people's birth details, ask for the reading, save the report as Rich
# Text Format, go back, ask again and save again, meet a refused second copy,
# and leave through the results window's File menu. Each saved report is
# read back with an independent RTF reader (unrtf and/or pandoc).
#
# Usage: e2e_test.sh /path/to/vadiveziduzor
#
# Runs on a private Xvfb server (no window manager), with settings and
# runtime folders of its own, so an open copy of the program plays no part.
# Without a window manager nobody hands out the input focus, so every key
# sequence first gives the focus to its window (xdotool windowfocus --sync)
# and then types through XTEST, as a keyboard would.
# On failure a screenshot of the screen, and of the results window as first
# seen, is left in the working folder (e2e_test_*.png).
# Exit codes: 0 pass, 1 fail, 2 bad usage, 77 skipped (tools missing).
#
# Tab order of the birth-details window, found by pressing Tab from the man's
# Name box (where the focus starts). Only the checked button of a radio pair
# is a Tab stop; the arrow keys move within the pair and check the button
# they reach.
#    1 Name            9 City            14 East | West
#    2 Month          10 State           15 Latitude Deg
#    3 Day            11 Country         16 Latitude Min
#    4 Year           12 Longitude Deg   17 North | South
#    5 Hour           13 Longitude Min   18 Zone
#    6 Minute                            19 Daylight Saving Time
#    7 Second                            20 Click Here To Find Latitude & Longitude
#    8 Time unknown
# then the same 20 stops for the partner, then Get Moon Sign Compatibility,
# the forum link, the advert link in front, and round to the man's Name.
set -euo pipefail

readonly NAME=e2e
readonly MAIN_TITLE_RE='^RU Zuva Zize Vadiveziduzor v1\.75$'
readonly BOX_TITLE_RE='^RU Zuva Zize Vadiveziduzor$' # message boxes, file dialog
readonly WINDOW_TIMEOUT=20 # seconds to wait for a window to appear or go
readonly EXIT_TIMEOUT=15   # seconds to wait for a process to end
readonly FILE_TIMEOUT=15   # seconds to wait for a saved report
readonly POLL=0.05         # polling interval while waiting on a condition

if [[ $# -ne 1 ]]; then
    echo "usage: $0 /path/to/vadiveziduzor" >&2
    exit 2
fi
PROGRAM=$(realpath -- "$1" 2>/dev/null) || PROGRAM=$1
if [[ ! -x $PROGRAM || -d $PROGRAM ]]; then
    echo "$NAME: FAIL: program '$1' is not an executable file"
    exit 1
fi

for tool in Xvfb xdotool timeout; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$NAME: SKIP: '$tool' is not installed"
        exit 77
    fi
done
READERS=()
for tool in unrtf pandoc; do
    command -v "$tool" >/dev/null 2>&1 && READERS+=("$tool")
done
if ((${#READERS[@]} == 0)); then
    echo "$NAME: SKIP: neither 'unrtf' nor 'pandoc' is installed to read the report back"
    exit 77
fi

# Failure screenshots land where ctest runs the test.
ARTIFACTS=$PWD
rm -f "$ARTIFACTS"/e2e_test_*.png 2>/dev/null || true

WORK=$(mktemp -d "${TMPDIR:-/tmp}/e2e_test.XXXXXX")
chmod 0700 "$WORK"
# shellcheck source=tests/x11_session.sh
source "$(dirname "$0")/x11_session.sh"
OUT="$WORK/reports" # the fresh folder the reports are saved into
mkdir "$OUT"
A_PID=
B_PID=
RESULT=FAIL

screenshot() {
    local window=$1 file=$2
    command -v import >/dev/null 2>&1 || return 0
    timeout 10 import -window "$window" "$file" >/dev/null 2>&1 || true
}

cleanup() {
    local status=$? f
    trap - EXIT INT TERM HUP
    set +e
    if [[ $RESULT != PASS && -n ${DISPLAY:-} && -n $XVFB_PID ]]; then
        screenshot root "$ARTIFACTS/e2e_test_failure.png"
        [[ -s $WORK/results.png ]] && cp "$WORK/results.png" "$ARTIFACTS/e2e_test_results.png"
        for f in "$ARTIFACTS"/e2e_test_*.png; do
            [[ -e $f ]] && echo "$NAME: screenshot $f"
        done
    fi
    stop_process "$B_PID" KILL
    stop_process "$A_PID" KILL
    stop_process "$XVFB_PID" TERM
    finish_session "$status" 60 "$WORK"/*.log "$WORK"/*.err "$WORK"/*.txt
}
trap cleanup EXIT
trap 'FAIL_REASON="interrupted"; exit 1' INT TERM HUP

# True when the window is mapped, belongs to the process and has a matching
# title.
is_shown() {
    local window=$1 title_re=$2 pid=$3 w
    find_windows "$title_re" "$pid"
    for w in "${WINDOWS[@]}"; do
        [[ $w == "$window" ]] && return 0
    done
    return 1
}

is_hidden() { ! is_shown "$@"; }

# Waits until the process shows a matching window other than the excluded
# ones and stores its id in FOUND_WINDOW.
wait_for_new_window() {
    local title_re=$1 pid=$2 what=$3
    shift 3
    local deadline=$((SECONDS + WINDOW_TIMEOUT)) w x skip
    while :; do
        find_windows "$title_re" "$pid"
        for w in "${WINDOWS[@]}"; do
            skip=
            for x in "$@"; do
                [[ $w == "$x" ]] && skip=1
            done
            if [[ -z $skip ]]; then
                FOUND_WINDOW=$w
                return 0
            fi
        done
        is_running "$pid" || fail "the program ended before showing $what"
        ((SECONDS < deadline)) || fail "$what did not appear within ${WINDOW_TIMEOUT}s"
        sleep "$POLL"
    done
}

wait_hidden() {
    local window=$1 title_re=$2 pid=$3 what=$4
    wait_until "$WINDOW_TIMEOUT" is_hidden "$window" "$title_re" "$pid" ||
        fail "$what was still shown after ${WINDOW_TIMEOUT}s"
}

wait_shown() {
    local window=$1 title_re=$2 pid=$3 what=$4
    wait_until "$WINDOW_TIMEOUT" is_shown "$window" "$title_re" "$pid" ||
        fail "$what was not shown again within ${WINDOW_TIMEOUT}s"
}

# Picks an entry of the focused drop-down list by typing its text (the
# number itself in a list of numbers, the start of a name in the others), or
# its first entry with Home. Only a first word is typed, since Space opens
# the list.
pick() {
    local window=$1 entry=$2
    if [[ $entry == FIRST ]]; then
        keys "$window" Home
    else
        type_text "$window" "$entry"
    fi
}

# Fills one person's group, starting in its Name box and ending in its Zone
# list. Fields: name month day year hour minute second city state country
# lon_deg lon_min east|west lat_deg lat_min north|south zone.
fill_person() {
    local w=$1
    shift
    type_text "$w" "$1"; keys "$w" Tab      # Name
    pick "$w" "$2"; keys "$w" Tab           # Month
    pick "$w" "$3"; keys "$w" Tab           # Day
    pick "$w" "$4"; keys "$w" Tab           # Year
    pick "$w" "$5"; keys "$w" Tab           # Hour
    pick "$w" "$6"; keys "$w" Tab           # Minute
    pick "$w" "$7"; keys "$w" Tab           # Second
    keys "$w" Tab                           # Time unknown
    type_text "$w" "$8"; keys "$w" Tab      # City
    type_text "$w" "$9"; keys "$w" Tab      # State
    type_text "$w" "${10}"; keys "$w" Tab   # Country
    type_text "$w" "${11}"; keys "$w" Tab   # Longitude Deg
    type_text "$w" "${12}"; keys "$w" Tab   # Longitude Min
    # East is checked at first; Right moves to West and checks it.
    [[ ${13} == West ]] && keys "$w" Right
    keys "$w" Tab
    type_text "$w" "${14}"; keys "$w" Tab   # Latitude Deg
    type_text "$w" "${15}"; keys "$w" Tab   # Latitude Min
    [[ ${16} == South ]] && keys "$w" Right # North is checked at first
    keys "$w" Tab
    pick "$w" "${17}"                       # Zone
}

# Waits until a saved report exists and is not empty.
wait_for_report() {
    local file=$1
    wait_until "$FILE_TIMEOUT" test -s "$file" ||
        fail "no report was saved as $file within ${FILE_TIMEOUT}s (the folder holds: $(cd "$OUT" && printf "'%s' " *))"
}

# Reads a report back with every reader (texts in $WORK/<label>.<reader>.txt)
# and checks that the expected lines occur in this order.
check_report() {
    local file=$1 label=$2
    shift 2
    local head reader text rest line after
    head=$(head -c 6 "$file")
    [[ $head == '{\rtf1' ]] || fail "$file does not start as Rich Text Format: '$head'"
    for reader in "${READERS[@]}"; do
        case $reader in
        # unrtf writes text in the file's code page, Windows-1252.
        unrtf) { unrtf --text "$file" | iconv -f WINDOWS-1252 -t UTF-8; } >"$WORK/$label.unrtf.txt" \
            2>"$WORK/$label.unrtf.err" || fail "unrtf could not read $file" ;;
        pandoc) pandoc --wrap=none -f rtf -t plain "$file" -o "$WORK/$label.pandoc.txt" 2>"$WORK/$label.pandoc.err" ||
            fail "pandoc could not read $file" ;;
        esac
        text=$(<"$WORK/$label.$reader.txt")
        rest=$text
        for line in "$@"; do
            [[ $rest == *"$line"* ]] || fail "$reader: '$line' is missing from $label (or out of order)"
            rest=${rest#*"$line"}
        done
        # The detailed analysis follows its caption on the same line.
        after=${text#*Detailed Analysis}
        after=${after#"${after%%[![:space:]]*}"}
        after=${after%%$'\n'*}
        [[ ${#after} -ge 100 && $after == [A-Za-z]* ]] ||
            fail "$reader: 'Detailed Analysis' is not followed by its text in $label"
    done
    log "$label read back with ${READERS[*]}: all expected lines present"
}

# Opens the report from a results window, saves it through the file dialog
# under a name without extension, and closes the report again.
save_report() {
    local results=$1 base=$2 report dialog w
    find_windows "$BOX_TITLE_RE" "$A_PID"
    ((${#WINDOWS[@]} == 0)) || fail "a window titled like a message box is already shown: ${WINDOWS[*]}"

    keys "$results" alt+p
    wait_for_new_window "$MAIN_TITLE_RE" "$A_PID" "the report window" "$MAIN_WINDOW" "$results"
    report=$FOUND_WINDOW
    log "report window $report is shown"

    keys "$report" alt+s
    wait_for_new_window "$BOX_TITLE_RE" "$A_PID" "the file dialog"
    dialog=$FOUND_WINDOW
    log "file dialog $dialog is shown"
    type_text "$dialog" "$base"
    keys "$dialog" Return
    wait_for_report "$base.rtf"
    [[ ! -e $base ]] || fail "the report was also written without its extension as $base"
    wait_hidden "$dialog" "$BOX_TITLE_RE" "$A_PID" "the file dialog"
    # A failed save would have put up a message box.
    find_windows "$BOX_TITLE_RE" "$A_PID"
    for w in "${WINDOWS[@]}"; do
        fail "a message box ($w) is shown after saving"
    done
    log "report saved as $base.rtf ($(stat -c %s "$base.rtf") bytes)"

    keys "$report" Escape
    wait_hidden "$report" "$MAIN_TITLE_RE" "$A_PID" "the report window after Escape"
    is_shown "$results" "$MAIN_TITLE_RE" "$A_PID" || fail "the results window went away with the report"
}

# Presses Get Moon Sign Compatibility with its access key and waits for a
# results window other than the excluded ones while the main window hides.
ask_for_reading() {
    keys "$MAIN_WINDOW" alt+m
    wait_for_new_window "$MAIN_TITLE_RE" "$A_PID" "the results window" "$MAIN_WINDOW" "$@"
    RESULTS_WINDOW=$FOUND_WINDOW
    wait_hidden "$MAIN_WINDOW" "$MAIN_TITLE_RE" "$A_PID" "the main window under the results"
    log "results window $RESULTS_WINDOW is shown, the main window is hidden"
}

# ---------------------------------------------------------------- X server
start_private_x
# The pointer rests on the bare root window, away from every window, so no
# key can reach a window by pointer focus.
xdotool mousemove 1279 1023 >/dev/null 2>&1 || true

# ------------------------------------------------ 1. start, main window
(cd "$WORK" && exec "$PROGRAM") >"$WORK/A.log" 2>&1 &
A_PID=$!
wait_for_new_window "$MAIN_TITLE_RE" "$A_PID" "the main window"
MAIN_WINDOW=$FOUND_WINDOW
log "program (pid $A_PID) shows its main window $MAIN_WINDOW"

# ------------------------------------------------ 2. both people's details
# The focus starts in the man's Name box.
# Letters beyond ASCII must come back exactly from every reader.
fill_person "$MAIN_WINDOW" "John Smith" FIRST FIRST 2000 12 FIRST FIRST \
    "São Paulo" "Zürich" "Ærøskøbing" 0 7 West 51 30 North Greenwich
# Daylight Saving Time, Click Here To Find..., then the partner's Name box.
keys "$MAIN_WINDOW" Tab Tab Tab
fill_person "$MAIN_WINDOW" "Priya {Sharma}" April 12 1992 5 30 FIRST \
    Pune "naïve café" India 73 51 East 18 31 North Indian
log "both people's details typed; the focus rests in the partner's Zone list"

# ------------------------------------------------ 3. the reading
ask_for_reading
FIRST_RESULTS=$RESULTS_WINDOW
screenshot "$FIRST_RESULTS" "$WORK/results.png"

# ------------------------------------------------ 4, 5. report, saved, read
save_report "$FIRST_RESULTS" "$OUT/reading"
PARTNER_LINES=(
    "Your Partner's Moon Sign Details"
    "Name :Priya {Sharma}" "Date of Birth :April 12, 1992" "Time of Birth :5:30:0"
    "City :Pune" "State :naïve café" "Country :India" "Moon Sign :Leo"
    "Moon Sign Compatibility Interpretation"
    "Percentage of Compatibility :40"
    "Compatibility of Scorpio With Leo:A Difficult Match"
    "Detailed Analysis"
)
MAN_LINES=("Date of Birth :January 1, 2000" "Time of Birth :12:0:0"
    "City :São Paulo"$'\n' "State :Zürich"$'\n' "Country :Ærøskøbing"$'\n' "Moon Sign :Scorpio")
check_report "$OUT/reading.rtf" first_report \
    "Your Moon Sign Details" "Name :John Smith"$'\n' "${MAN_LINES[@]}" "${PARTNER_LINES[@]}"

# ------------------------------------------------ 6. back, edit, again
keys "$FIRST_RESULTS" alt+b
wait_shown "$MAIN_WINDOW" "$MAIN_TITLE_RE" "$A_PID" "the main window after Back"
wait_hidden "$FIRST_RESULTS" "$MAIN_TITLE_RE" "$A_PID" "the first results window after Back"
log "Back: the main window is shown again, the results window is gone"

# The focus comes back to the partner's Zone list; six Tabs lead round to the
# man's Name box (Daylight Saving Time, Click Here..., Get Moon Sign
# Compatibility, the two links), where End keeps the name and adds to it.
keys "$MAIN_WINDOW" Tab Tab Tab Tab Tab Tab End
type_text "$MAIN_WINDOW" " Junior"
ask_for_reading "$FIRST_RESULTS"
SECOND_RESULTS=$RESULTS_WINDOW
save_report "$SECOND_RESULTS" "$OUT/second reading"
check_report "$OUT/second reading.rtf" second_report \
    "Your Moon Sign Details" "Name :John Smith Junior"$'\n' "${MAN_LINES[@]}" "${PARTNER_LINES[@]}"

# ------------------------------------------------ 7. a second copy refuses
"$PROGRAM" >"$WORK/B.log" 2>&1 &
B_PID=$!
wait_for_new_window "$BOX_TITLE_RE" "$B_PID" "the second copy's message box"
box=$FOUND_WINDOW
if has_window "$MAIN_TITLE_RE" "$B_PID"; then
    fail "the second copy showed a window of its own: ${WINDOWS[*]}"
fi
log "second copy (pid $B_PID) shows the message box $box"
# Return is pressed only while the box holds the focus, so it never reaches
# the first copy. Not with key --window: its release would go to a box that
# is gone by then, leaving Return held down for the rest of the run.
deadline=$((SECONDS + EXIT_TIMEOUT))
while is_running "$B_PID"; do
    ((SECONDS < deadline)) || fail "the second copy did not exit within ${EXIT_TIMEOUT}s after Return"
    if has_window "$BOX_TITLE_RE" "$B_PID"; then
        timeout 10 xdotool windowfocus --sync "$box" >/dev/null 2>&1 || true
        if [[ $(xdotool getwindowfocus 2>/dev/null) == "$box" ]]; then
            xdotool key Return >/dev/null 2>&1 || true
        fi
    fi
    wait_until 2 not_running "$B_PID" || true
done
# Should the box have gone between the press and its release, the server
# would hold Return down and repeat it into whichever window gets the
# focus next: let it go.
xdotool keyup Return >/dev/null 2>&1 || true
b_status=0
wait "$B_PID" || b_status=$?
B_PID=
((b_status == 0)) || fail "the second copy exited with code $b_status, expected 0"
is_running "$A_PID" || fail "the first copy ended along with the second"
is_shown "$SECOND_RESULTS" "$MAIN_TITLE_RE" "$A_PID" || fail "the results window went away with the second copy"
log "second copy exited with code 0; the first keeps running"

# ------------------------------------------------ 8. File > Exit
# Exit has no access key; the menu opens on its first entry (Print) and Up
# wraps round to the last one, Exit.
keys "$SECOND_RESULTS" alt+f
# The open menu is a new window of the program with an empty WM_NAME.
wait_for_new_window '' "$A_PID" "the File menu" "$MAIN_WINDOW" "$SECOND_RESULTS"
# The open menu holds the keyboard; the keys go straight to it.
xdotool key --delay 20 Up Return || fail "xdotool could not press Up Return"
wait_until "$EXIT_TIMEOUT" not_running "$A_PID" ||
    fail "the program did not end within ${EXIT_TIMEOUT}s of File > Exit"
a_status=0
wait "$A_PID" || a_status=$?
A_PID=
((a_status == 0)) || fail "the program exited with code $a_status after File > Exit, expected 0"
# The lock file may stay (a lock no live copy holds blocks nothing); the
# socket that a second start calls goes with the program.
if compgen -G "$RUNTIME_DIR/*.socket" >/dev/null; then
    fail "the program left its socket behind after a normal exit"
fi
log "File > Exit: the program ended with code 0"

RESULT=PASS
