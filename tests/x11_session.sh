# Shared by the tests that drive the real program on a private X server.
# Sourced after the caller sets NAME, WORK (a private folder), POLL and
# WINDOW_TIMEOUT; defines FAIL_REASON, XVFB_PID, WINDOWS and RUNTIME_DIR, and
# the keyboard helpers focus, keys and type_text.
# The caller sets RESULT=PASS once every check has passed.
# shellcheck shell=bash

# shellcheck disable=SC2034 # read by the caller's exit handler
FAIL_REASON=
XVFB_PID=
WINDOWS=()

log() { echo "$NAME: [${SECONDS}s] $*"; }

fail() {
    FAIL_REASON=$* # read by the caller's exit handler
    exit 1
}

# Sends a signal to a process if it still exists and reaps it; never fails.
stop_process() {
    local pid=$1 signal=$2
    [[ -n $pid ]] || return 0
    kill "-$signal" "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# True while the process exists and has not yet ended (a zombie has ended).
is_running() {
    local pid=$1 state
    [[ -r /proc/$pid/stat ]] || return 1
    state=$(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null) || return 1
    [[ -n $state && $state != Z && $state != X ]]
}

not_running() { ! is_running "$1"; }

# Polls a command until it succeeds or the timeout (seconds) passes.
wait_until() {
    local timeout=$1
    shift
    local deadline=$((SECONDS + timeout))
    while ! "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep "$POLL"
    done
}

# Mapped top-level windows whose title matches a regular expression,
# optionally restricted to one process; the ids are stored in WINDOWS.
find_windows() {
    local title_re=$1 pid=${2:-} out
    if [[ -n $pid ]]; then
        out=$(xdotool search --all --onlyvisible --pid "$pid" --name "$title_re" 2>/dev/null) || true
    else
        out=$(xdotool search --onlyvisible --name "$title_re" 2>/dev/null) || true
    fi
    mapfile -t WINDOWS < <(printf '%s\n' "$out" | grep -E '^[0-9]+$' || true)
}

has_window() {
    find_windows "$@"
    ((${#WINDOWS[@]} > 0))
}

# The folder of the single-instance lock, beside the people store in the
# settings folder that start_private_x gives the program.
user_lock_dir() {
    echo "$XDG_CONFIG_HOME/zuvazize"
}

# Gives the input focus to a window, as a window manager would on a click on
# its title bar.
focus() {
    local current
    current=$(xdotool getwindowfocus 2>/dev/null) || current=
    [[ $current == "$1" ]] && return 0
    timeout 10 xdotool windowfocus --sync "$1" >/dev/null 2>&1 ||
        fail "could not give the input focus to window $1"
}

# Key presses (xdotool key names) into a window.
keys() {
    local window=$1
    shift
    focus "$window"
    xdotool key --delay 20 "$@" || fail "xdotool could not press $*"
}

# Text typed into the focused control of a window.
# Characters outside ASCII get spare keys of their own, bound once and kept:
# xdotool's way, binding a key for each press and unbinding it at once,
# loses the character when the program reads the keyboard map late, as on a
# busy machine.
declare -A SPARE_KEYS=()
bind_spare_key() {
    local lower=${1,,} upper=${1^^} code
    [[ -n ${SPARE_KEYS[$lower]:-} ]] && return
    command -v xmodmap >/dev/null 2>&1 || fail "xmodmap is needed to type '$1'"
    code=$(xmodmap -pke | awk 'NF == 3 && $2 > 8 && !code { code = $2 } END { print code }')
    [[ -n $code ]] || fail "no spare key is left to type '$1'"
    xmodmap -e "keycode $code = $(printf 'U%04X U%04X' "'$lower" "'$upper")" || fail "xmodmap could not bind '$1'"
    SPARE_KEYS[$lower]=$code
    sleep 0.3
}

type_text() {
    local window=$1 text=$2 i c
    local LC_ALL=C.UTF-8 # characters, not bytes, whatever the caller's locale
    focus "$window"
    if [[ $text == *[![:ascii:]]* ]]; then
        for ((i = 0; i < ${#text}; i++)); do
            c=${text:i:1}
            if [[ $c == [[:ascii:]] ]]; then
                xdotool type --delay 20 -- "$c" || fail "xdotool could not type '$c'"
            else
                bind_spare_key "$c"
                xdotool key --delay 20 "$(printf 'U%04X' "'$c")" || fail "xdotool could not type '$c'"
            fi
        done
        return
    fi
    xdotool type --delay 20 -- "$text" || fail "xdotool could not type '$text'"
}

# Starts Xvfb on a display it picks itself (reported on -displayfd once it
# accepts connections, so parallel runs never race for a number) and gives
# the program a private environment in which Qt's own dialogs are used
# whatever desktop is around.
start_private_x() {
    local display_number='' cookie=''
    local auth_args=()
    mkfifo "$WORK/displayfd"
    if command -v xauth >/dev/null 2>&1; then
        cookie=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
        # The server loads every cookie in its file whatever display it names.
        xauth -q -f "$WORK/server.xauth" add :0 . "$cookie" 2>/dev/null
        auth_args=(-auth "$WORK/server.xauth")
    fi
    Xvfb -displayfd 3 "${auth_args[@]}" -nolisten tcp -noreset \
        -screen 0 1280x1024x24 3>"$WORK/displayfd" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    read -r -t "$WINDOW_TIMEOUT" display_number <"$WORK/displayfd" || true
    [[ $display_number =~ ^[0-9]+$ ]] || fail "Xvfb did not report a display"

    export DISPLAY=":$display_number"
    if [[ -n $cookie ]]; then
        export XAUTHORITY="$WORK/client.xauth"
        xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie" 2>/dev/null
    else
        unset XAUTHORITY
    fi

    RUNTIME_DIR="$WORK/runtime"
    mkdir -m 0700 "$RUNTIME_DIR"
    export XDG_RUNTIME_DIR="$RUNTIME_DIR"
    export XDG_CONFIG_HOME="$WORK/config" XDG_CACHE_HOME="$WORK/cache" XDG_DATA_HOME="$WORK/data"
    export QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1
    unset WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORMTHEME \
        QT_STYLE_OVERRIDE XDG_CURRENT_DESKTOP DESKTOP_SESSION
    log "Xvfb on $DISPLAY, runtime folder $RUNTIME_DIR"
}

# Starts openbox on the private display, as a user's desktop has a window
# manager; WM_PID stays empty where openbox is not installed.
WM_PID=
wm_is_managing() {
    [[ $(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null) == *"window id"* ]]
}

start_window_manager() {
    command -v openbox >/dev/null 2>&1 || { log "openbox is not installed: no window manager"; return 0; }
    openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
    WM_PID=$!
    # openbox names its check window once it manages the screen; a window
    # mapped before that may be left unmanaged and never shown.
    wait_until "$WINDOW_TIMEOUT" wm_is_managing || fail "openbox did not start"
    log "openbox (pid $WM_PID) manages the windows"
}

# Ends the test from its exit handler: after a failure shows the last LINES
# lines of each non-empty file given, removes WORK and exits with the verdict.
finish_session() { # STATUS LINES FILE...
    local status=$1 lines=$2 f
    shift 2
    if [[ $RESULT != PASS ]]; then
        for f in "$@"; do
            [[ -s $f ]] || continue
            echo "----- $(basename "$f") -----"
            tail -n "$lines" "$f"
        done
    fi
    rm -rf "$WORK"
    if [[ $RESULT == PASS ]]; then
        echo "$NAME: PASS (${SECONDS}s)"
        exit 0
    fi
    echo "$NAME: FAIL${FAIL_REASON:+: $FAIL_REASON}"
    if ((status == 0)); then status=1; fi
    exit "$status"
}
