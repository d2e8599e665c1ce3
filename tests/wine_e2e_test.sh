#!/usr/bin/env bash
# End-to-end run of the Windows program under Wine, by keyboard only, on a
# private Xvfb: type both people, ask for the reading, open the report, save
# it through the native file dialog and read it back with unrtf and pandoc;
# print it through Windows' print dialog to a PDF printer and read that back;
# a second start must refuse; then the installer installs, the installed
# program starts, and the uninstaller removes it. Screenshots of each window
# are left in the folder ctest runs in (wine_e2e_*.png).
#
# Usage: wine_e2e_test.sh vadiveziduzor.exe setup.exe   (WINEPREFIX as set up by the caller)
# Exit codes: 0 pass, 1 fail, 2 bad usage, 77 skipped (tools missing).
set -euo pipefail

readonly NAME=wine_e2e
readonly MAIN_TITLE_RE='^RU Zuva Zize Vadiveziduzor v1\.75$'
readonly BOX_TITLE_RE='^RU Zuva Zize Vadiveziduzor$'
readonly WINDOW_TIMEOUT=60
readonly POLL=0.2

if [[ $# -ne 2 ]]; then
    echo "usage: $0 vadiveziduzor.exe setup.exe" >&2
    exit 2
fi
EXE=$(realpath -- "$1")
SETUP=$(realpath -- "$2")
for tool in Xvfb xdotool wine unrtf pandoc; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$NAME: SKIP: '$tool' is not installed"
        exit 77
    fi
done

ARTIFACTS=$PWD
WORK=$(mktemp -d "${TMPDIR:-/tmp}/wine_e2e.XXXXXX")
# shellcheck source=tests/x11_session.sh
source "$(dirname "$0")/x11_session.sh"
RESULT=FAIL
A_PID=
QUEUE=
CUPSD_STARTED=

shot() {
    command -v import >/dev/null 2>&1 || return 0
    timeout 10 import -window root "$ARTIFACTS/wine_e2e_$1.png" >/dev/null 2>&1 || true
}

cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    set +e
    [[ $RESULT == PASS ]] || shot failure
    [[ -n $A_PID ]] && kill "$A_PID" 2>/dev/null
    wineserver -k >/dev/null 2>&1
    [[ -n $QUEUE ]] && lpadmin -x "$QUEUE" 2>/dev/null
    [[ -n $CUPSD_STARTED ]] && pkill -x cupsd
    stop_process "$XVFB_PID" TERM
    finish_session "$status" 40 "$WORK"/*.log "$WORK"/*.txt
}
trap cleanup EXIT

# Waits for a shown window whose title matches, other than those given, and
# stores its id in FOUND.
wait_window() {
    local title_re=$1 what=$2 w x skip
    shift 2
    local deadline=$((SECONDS + WINDOW_TIMEOUT))
    while :; do
        find_windows "$title_re"
        for w in "${WINDOWS[@]}"; do
            skip=
            for x in "$@"; do [[ $w == "$x" ]] && skip=1; done
            [[ -z $skip ]] && { FOUND=$w; return 0; }
        done
        ((SECONDS < deadline)) || fail "$what did not appear within ${WINDOW_TIMEOUT}s"
        sleep "$POLL"
    done
}

# How many printouts cups-pdf has left in the PDF folder of the user's home
# (the one the user database names, whatever HOME says).
PRINTOUTS="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
printouts() {
    local n
    n=$(find "$PRINTOUTS" -name '*.pdf' 2>/dev/null | wc -l) || true
    echo "$n"
}
more_printouts_than() { (($(printouts) > $1)); }

hidden() {
    ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable
}

keys() {
    local window=$1
    shift
    timeout 10 xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
    xdotool key --delay 60 "$@" || fail "xdotool could not press $*"
}

type_text() {
    local window=$1 text=$2
    timeout 10 xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
    xdotool type --delay 40 -- "$text" || fail "xdotool could not type '$text'"
}

start_private_x
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's desktop process belongs to the prefix's server and keeps the display
# it started with: a server left from earlier runs is ended first.
wineserver -k 2>/dev/null || true
wineserver -p 2>/dev/null || true
# The program remembers the last two people; this run starts with none.
rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Roaming/zuvazize

# Wine's printers are the CUPS queues; a PDF queue of cups-pdf, made for this
# run before the program starts, writes what Windows' print dialog sends it
# into the user's PDF folder.
if command -v lpadmin >/dev/null && [[ -x /usr/lib/cups/backend/cups-pdf ]] && command -v pdftotext >/dev/null \
    && { pgrep -x cupsd >/dev/null || { [[ $(id -u) -eq 0 ]] && cupsd && CUPSD_STARTED=1; }; }; then
    wait_until 20 lpstat -r >/dev/null 2>&1 || fail "the print server did not start"
    if lpadmin -p "vadiveziduzor_e2e_$$" -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null; then
        QUEUE=vadiveziduzor_e2e_$$
        lpadmin -d "$QUEUE" || fail "could not make the PDF printer the default one"
    fi
fi
[[ -n $QUEUE ]] || log "no PDF printer could be set up here: printing is not tried"

# ---------------------------------------------------------------- reading
(cd "$WORK" && exec wine "$EXE") >"$WORK/A.log" 2>&1 &
A_PID=$!
wait_window "$MAIN_TITLE_RE" "the birth-details window"
MAIN=$FOUND
sleep 1
shot birth_details
log "birth-details window $MAIN"
# The focus starts in the man's Name box. Each person is a name and a place
# picked from the built-in atlas, which fills coordinates and zone: eight
# Tabs from Name to City, twelve from City to the partner's Name. The first
# offer is the current one, so Return picks it.
person() {
    local name=$1 city=$2
    type_text "$MAIN" "$name"
    keys "$MAIN" $(printf 'Tab %.0s' $(seq 8))
    type_text "$MAIN" "$city"
    sleep 1
    keys "$MAIN" Return
}
person "Ravi" "Pune"
keys "$MAIN" $(printf 'Tab %.0s' $(seq 12))
person "Meera" "London"
sleep 1
shot birth_details_filled
keys "$MAIN" alt+m
wait_window "$MAIN_TITLE_RE" "the results window" "$MAIN"
RESULTS=$FOUND
# The results take the birth-details window's place.
wait_until 20 hidden "$MAIN" || fail "the birth-details window stayed on screen with the results"
sleep 1
shot results
log "results window $RESULTS"
# Birth Details, the leftmost button of the bottom row, shows the working.
eval "$(xdotool getwindowgeometry --shell "$RESULTS")"
xdotool mousemove $((X + 80)) $((Y + HEIGHT - 40)) click 1
sleep 1
shot results_birth_details

keys "$RESULTS" ctrl+p
wait_window "$MAIN_TITLE_RE" "the report window" "$MAIN" "$RESULTS"
REPORT=$FOUND
sleep 1
shot report
log "report window $REPORT"

keys "$REPORT" ctrl+s
wait_window "$BOX_TITLE_RE" "the save dialog"
DIALOG=$FOUND
sleep 1
shot save_dialog
log "save dialog $DIALOG"
SAVED="$WORK/reading.rtf"
# Wine shows the machine's root folder as drive Z:. Its file-name box does
# not take Ctrl+A; the offered name is selected from its end instead.
keys "$DIALOG" End shift+Home Delete
type_text "$DIALOG" "Z:${SAVED//\//\\}"
keys "$DIALOG" Return
wait_until 20 test -s "$SAVED" || fail "no report was saved as $SAVED"
log "report saved ($(stat -c %s "$SAVED") bytes)"
unrtf --text "$SAVED" >"$WORK/unrtf.txt" 2>/dev/null || fail "unrtf could not read the report"
pandoc --wrap=none -f rtf -t plain "$SAVED" -o "$WORK/pandoc.txt" || fail "pandoc could not read the report"
for reader in unrtf pandoc; do
    for line in "Name :Ravi" "Name :Meera" "Moon Sign :" "Percentage of Compatibility :" "Detailed Analysis"; do
        grep -qF -- "$line" "$WORK/$reader.txt" || fail "$reader: '$line' is missing from the saved report"
    done
done
log "the saved report reads back with unrtf and pandoc"

# ---------------------------------------------------------------- print
if [[ -n $QUEUE ]]; then
    PRINTED_BEFORE=$(printouts)
    keys "$REPORT" ctrl+p
    wait_window '^Print$' "the print dialog"
    sleep 1
    shot print_dialog
    keys "$FOUND" Return
    wait_until 30 more_printouts_than "$PRINTED_BEFORE" \
        || fail "nothing came out of the printer"
    PRINTED=$(ls -t "$PRINTOUTS"/*.pdf | head -n 1)
    sleep 1
    pdftotext -layout "$PRINTED" "$WORK/printed.txt" || fail "pdftotext could not read the printout"
    rm -f "$PRINTED"
    for line in "Name :Ravi" "Name :Meera" "Moon Sign :" "Percentage of Compatibility :"; do
        grep -qF -- "$line" "$WORK/printed.txt" || fail "'$line' is missing from the printout"
    done
    log "printed through the print dialog; the printout reads back"
fi

# ---------------------------------------------------------------- second start
wine "$EXE" >"$WORK/B.log" 2>&1 &
B_PID=$!
# Wine leaves the closed save dialog's window behind under the same title.
wait_window "$BOX_TITLE_RE" "the second start's message box" "$DIALOG"
BOX=$FOUND
shot second_start
keys "$BOX" Return
wait_until 20 not_running "$B_PID" || fail "the second start did not end after its message box"
is_running "$A_PID" || fail "the first copy ended along with the second"
log "a second start was refused"

keys "$REPORT" Escape
sleep 1
keys "$RESULTS" ctrl+q
wait_until 20 not_running "$A_PID" || fail "the program did not end on Ctrl+Q"
A_PID=
log "the program ended on Ctrl+Q"

# ---------------------------------------------------------------- installer
# A Windows folder of this prefix, named by its environment variable, as a
# path on this side.
windows_folder() {
    winepath -u "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')" 2>/dev/null
}

# For the current user and for every user (Wine's user is an administrator):
# installed where Windows puts programs, started from there, uninstalled
# with nothing left behind.
for mode in CurrentUser AllUsers; do
    if [[ $mode == CurrentUser ]]; then
        folder=$(windows_folder LOCALAPPDATA)/Programs/Vadiveziduzor
        menu=$(windows_folder APPDATA)/Microsoft/Windows
    else
        folder=$(windows_folder ProgramFiles)/Vadiveziduzor
        menu=$(windows_folder ProgramData)/Microsoft/Windows
    fi
    # Only folders of the prefix are ever cleared.
    [[ $folder == "$WINEPREFIX"/* && $menu == "$WINEPREFIX"/* ]] || fail "Wine named no $mode folders"
    shortcut="$menu/Start Menu/Programs/RU Zuva Zize Vadiveziduzor.lnk"
    rm -rf "$folder" "$shortcut"
    wine "$SETUP" /S "/$mode" >"$WORK/setup.log" 2>&1 || fail "the installer failed ($mode)"
    wait_until 20 test -f "$folder/vadiveziduzor.exe" || fail "the installer put no vadiveziduzor.exe in $folder"
    [[ -f $shortcut ]] || fail "no Start-menu entry at $shortcut"
    (cd "$WORK" && exec wine "$folder/vadiveziduzor.exe") >"$WORK/C.log" 2>&1 &
    A_PID=$!
    wait_window "$MAIN_TITLE_RE" "the installed program's window"
    keys "$FOUND" ctrl+q
    wait_until 20 not_running "$A_PID" || fail "the installed program did not end on Ctrl+Q"
    A_PID=
    wine "$folder/uninstall.exe" /S >"$WORK/uninstall.log" 2>&1 || fail "the uninstaller failed ($mode)"
    wait_until 20 test ! -e "$folder" || fail "the uninstaller left $(ls "$folder")"
    [[ ! -e $shortcut ]] || fail "the uninstaller left the Start-menu entry"
    log "installed for $mode in ${folder#"$WINEPREFIX"/dosdevices/}, started, uninstalled"
done

RESULT=PASS
