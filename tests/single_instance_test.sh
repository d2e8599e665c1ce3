#!/usr/bin/env bash
# End-to-end check that the program refuses a second running copy for the
# same user whatever its environment, that the refused start brings the
# running copy's window to the front, and that a lock left behind by a killed
# copy does not block the next start.
#
# Usage: single_instance_test.sh /path/to/vadiveziduzor
#
# Runs on a private Xvfb server (no window manager), with settings and
# runtime folders of its own, so a copy of the program that the user has open
# plays no part.
# Exit codes: 0 pass, 1 fail, 2 bad usage, 77 skipped (tools missing).
set -euo pipefail

readonly NAME=single_instance
readonly MAIN_TITLE_RE='^RU Zuva Zize Vadiveziduzor v1\.75$'
readonly BOX_TITLE_RE='^RU Zuva Zize Vadiveziduzor$'
readonly WINDOW_TIMEOUT=20 # seconds to wait for a window to appear
readonly EXIT_TIMEOUT=15   # seconds to wait for a process to end
readonly POLL=0.1          # polling interval while waiting on a condition

if [[ $# -ne 1 ]]; then
    echo "usage: $0 /path/to/vadiveziduzor" >&2
    exit 2
fi
PROGRAM=$1
if [[ ! -x $PROGRAM ]]; then
    echo "$NAME: FAIL: program '$PROGRAM' is not an executable file"
    exit 1
fi

for tool in Xvfb xdotool xmessage xwininfo; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$NAME: SKIP: '$tool' is not installed"
        exit 77
    fi
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/single_instance_test.XXXXXX")
chmod 0700 "$WORK"
# shellcheck source=tests/x11_session.sh
source "$(dirname "$0")/x11_session.sh"
A_PID=
B_PID=
C_PID=
COVER_PID=
RESULT=FAIL

cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    set +e
    stop_process "$C_PID" KILL
    stop_process "$B_PID" KILL
    stop_process "$A_PID" KILL
    stop_process "$COVER_PID" KILL
    stop_process "$XVFB_PID" TERM
    finish_session "$status" 40 "$WORK"/*.log
}
trap cleanup EXIT
trap 'FAIL_REASON="interrupted"; exit 1' INT TERM HUP

# Waits until a process shows a window whose title matches and stores its id
# in FOUND_WINDOW. Fails at once if the process ends first or shows a window
# whose title matches the optional forbidden expression.
wait_for_window() {
    local title_re=$1 pid=$2 what=$3 forbidden_re=${4:-}
    local deadline=$((SECONDS + WINDOW_TIMEOUT))
    until has_window "$title_re" "$pid"; do
        is_running "$pid" || fail "$what ended before showing its window"
        if [[ -n $forbidden_re ]] && has_window "$forbidden_re" "$pid"; then
            fail "$what showed a window titled /$forbidden_re/"
        fi
        ((SECONDS < deadline)) || fail "$what showed no window titled /$title_re/ within ${WINDOW_TIMEOUT}s"
        sleep "$POLL"
    done
    FOUND_WINDOW=${WINDOWS[0]}
}

start_program() {
    local label=$1
    shift
    env "$@" "$PROGRAM" >"$WORK/$label.log" 2>&1 &
    STARTED_PID=$!
}

# Stacking position of a top-level window, counted from the top (xwininfo
# lists the root's children top first); empty when it is not one of them.
stack_position() {
    xwininfo -root -children 2>/dev/null |
        awk -v id="$(printf '0x%x' "$1")" '$1 == id { print NR; exit }'
}

# ---------------------------------------------------------------- X server
start_private_x
LOCK_DIR=$(user_lock_dir)

# -------------------------------------------------------- first copy (A)
start_program A
A_PID=$STARTED_PID
wait_for_window "$MAIN_TITLE_RE" "$A_PID" "first copy (A)"
a_window=$FOUND_WINDOW
log "A (pid $A_PID) shows its main window $a_window"

lock_present() { compgen -G "$LOCK_DIR/*.lock" >/dev/null; }
lock_present || fail "A left no lock file in $LOCK_DIR"

# Another program's window goes on top of A's.
xmessage -geometry +0+0 "a window above the program" >"$WORK/cover.log" 2>&1 &
COVER_PID=$!
wait_until "$WINDOW_TIMEOUT" has_window '^xmessage$' || fail "xmessage showed no window"
cover_window=${WINDOWS[0]}
wait_until "$WINDOW_TIMEOUT" test -n "$(stack_position "$cover_window")" || fail "xmessage's window is not on the root"
(($(stack_position "$cover_window") < $(stack_position "$a_window"))) || fail "xmessage did not go above A"

# The raise socket comes back when something removes it.
compgen -G "$RUNTIME_DIR/*.socket" >/dev/null || fail "A made no raise socket in $RUNTIME_DIR"
rm -f "$RUNTIME_DIR"/*.socket
wait_until 10 compgen -G "$RUNTIME_DIR/*.socket" >/dev/null || fail "A did not make its removed socket again"
log "A made its removed raise socket again"

# ------------------------------------------------------- second copy (B)
# Started without the runtime folder A had: the lock beside the store is the
# same, and the lock file says where A listens.
start_program B -u XDG_RUNTIME_DIR
B_PID=$STARTED_PID
wait_for_window "$BOX_TITLE_RE" "$B_PID" "second copy (B)" "$MAIN_TITLE_RE"
box_window=$FOUND_WINDOW
log "B (pid $B_PID) shows the message box $box_window"

box_pid=$(xdotool getwindowpid "$box_window" 2>/dev/null) || box_pid=
[[ $box_pid == "$B_PID" ]] || fail "message box belongs to pid '$box_pid', not to B ($B_PID)"

# Exactly one main window exists, and it is A's.
find_windows "$MAIN_TITLE_RE"
((${#WINDOWS[@]} == 1)) || fail "expected one main window while B runs, found ${#WINDOWS[@]}"
main_pid=$(xdotool getwindowpid "${WINDOWS[0]}" 2>/dev/null) || main_pid=
[[ $main_pid == "$A_PID" ]] || fail "the main window belongs to pid '$main_pid', not to A ($A_PID)"
# B has no main window at all, not even an unmapped one.
b_main=$(xdotool search --all --pid "$B_PID" --name "$MAIN_TITLE_RE" 2>/dev/null) || b_main=
[[ -z $b_main ]] || fail "B created a main window of its own ($b_main)"

# B asked A to come forward before it showed its box.
wait_until 5 eval '(($(stack_position "$a_window") < $(stack_position "$cover_window")))' ||
    fail "A's window was not brought above the other program's window"
log "A's window was brought to the front"

# Press Return on the box. The key event is sent to the box window itself,
# so a repeated press can never reach A's window. Presses repeat only while
# B and its box are still there (a press sent before the box is ready to
# receive keys is not lost for good).
deadline=$((SECONDS + EXIT_TIMEOUT))
presses=0
while is_running "$B_PID"; do
    ((SECONDS < deadline)) || fail "B did not exit within ${EXIT_TIMEOUT}s after Return on the box"
    if has_window "$BOX_TITLE_RE" "$B_PID"; then
        # Focus is a courtesy for the box; the key goes to it either way.
        xdotool windowfocus "$box_window" >/dev/null 2>&1 || true
        xdotool key --window "$box_window" Return >/dev/null 2>&1 || true
        presses=$((presses + 1))
    fi
    # Give B up to two seconds to react before pressing again.
    wait_until 2 not_running "$B_PID" || true
done
# Should the box have gone between the press and its release, the server
# would hold Return down and repeat it into whichever window gets the
# focus next: let it go.
xdotool keyup Return >/dev/null 2>&1 || true
b_status=0
wait "$B_PID" || b_status=$?
B_PID=
((b_status == 0)) || fail "B exited with code $b_status, expected 0"
log "B exited with code 0 after Return (pressed $presses time(s))"

is_running "$A_PID" || fail "A is no longer running after B exited"
find_windows "$MAIN_TITLE_RE" "$A_PID"
((${#WINDOWS[@]} == 1)) || fail "A's main window is gone after B exited"
find_windows "$MAIN_TITLE_RE"
((${#WINDOWS[@]} == 1)) || fail "expected one main window after B exited, found ${#WINDOWS[@]}"

# ------------------------------------------- stale lock, third copy (C)
{
    kill -KILL "$A_PID"
    wait "$A_PID" || true
} 2>/dev/null # no "Killed" job notice
A_PID=
lock_present || fail "no lock file was left behind by the killed copy"
log "A killed with SIGKILL; its lock file is left behind"

start_program C
C_PID=$STARTED_PID
wait_for_window "$MAIN_TITLE_RE" "$C_PID" "third copy (C) after a stale lock" "$BOX_TITLE_RE"
log "C (pid $C_PID) shows its main window ${FOUND_WINDOW}: the stale lock did not block it"
# A window can carry the bare application name for a moment while it is
# being made; a refusal box stays until answered.
sleep 1
if has_window "$BOX_TITLE_RE" "$C_PID"; then
    for w in "${WINDOWS[@]}"; do
        xprop -id "$w" WM_NAME WM_CLASS _NET_WM_WINDOW_TYPE WM_TRANSIENT_FOR 2>&1 | sed "s/^/$NAME: window $w: /"
        xwininfo -id "$w" 2>&1 | grep -E "Width|Height|Absolute" | sed "s/^/$NAME: window $w: /"
    done
    fail "C also showed the 'already running' box (windows ${WINDOWS[*]})"
fi

kill -TERM "$C_PID"
wait_until "$EXIT_TIMEOUT" not_running "$C_PID" ||
    fail "C did not end within ${EXIT_TIMEOUT}s of SIGTERM"
wait "$C_PID" 2>/dev/null || true
C_PID=

RESULT=PASS
