#!/usr/bin/env bash
# Checks the Debian package with lintian (no error, no warning), installs it
# with apt-get, asks the installed program for its version, starts it on a
# private X server, waits for its main window, then removes the package.
#
# Usage: deb_test.sh PACKAGE.deb | BUILD_DIR
# Given a build folder, CPack makes the package in a scratch folder first
# (CPACK_COMMAND names the cpack to use, default: cpack from PATH).
# Root only: it changes the system. Exit codes: 0 pass, 1 fail, 2 bad usage,
# 77 skipped (not root, apt or a tool missing, or the package is already
# installed and so not ours to remove).
set -euo pipefail

readonly NAME=deb_install
readonly PACKAGE=vadiveziduzor
readonly APP_ID=org.example.zuvazize.vadiveziduzor
readonly PROGRAM=/usr/bin/vadiveziduzor
readonly TITLE_RE='^RU Zuva Zize Vadiveziduzor v1\.75$'
readonly WINDOW_TIMEOUT=30 # seconds to wait for the main window
readonly POLL=0.2

# ------------------------------------------------- on the private X server
# Runs under xvfb-run: starts the program, waits for its window, stops it.
if [[ ${1:-} == --inside ]]; then
    export XDG_RUNTIME_DIR=$2
    export XDG_CONFIG_HOME=$3/config XDG_CACHE_HOME=$3/cache XDG_DATA_HOME=$3/data
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY SESSION_MANAGER DBUS_SESSION_BUS_ADDRESS
    "$PROGRAM" >"$3/program.log" 2>&1 &
    pid=$!
    status=1
    deadline=$((SECONDS + WINDOW_TIMEOUT))
    while :; do
        if xdotool search --onlyvisible --pid "$pid" --name "$TITLE_RE" >/dev/null 2>&1; then
            echo "$NAME: main window shown by pid $pid after ${SECONDS}s"
            # The window's class names the desktop file's StartupWMClass.
            wm_class=$(sed -n 's/^StartupWMClass=//p' "/usr/share/applications/$APP_ID.desktop")
            if [[ -n $wm_class ]] &&
                ! xdotool search --onlyvisible --pid "$pid" --classname "^$wm_class\$" >/dev/null 2>&1; then
                echo "$NAME: FAIL: no window of class '$wm_class' (StartupWMClass)"
            else
                status=0
            fi
            break
        fi
        if ! kill -0 "$pid" 2>/dev/null; then
            # Another server can take the display xvfb-run picked: try again.
            if grep -q 'could not connect to display' "$3/program.log"; then
                echo "$NAME: the program could not reach $DISPLAY"
                exit 3
            fi
            echo "$NAME: FAIL: the program ended before showing its window"
            break
        fi
        if ((SECONDS >= deadline)); then
            echo "$NAME: FAIL: no window titled /$TITLE_RE/ within ${WINDOW_TIMEOUT}s"
            break
        fi
        sleep "$POLL"
    done
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    if ((status)); then
        echo "----- program output -----"
        tail -n 40 "$3/program.log"
    fi
    exit "$status"
fi

# ------------------------------------------------------------------ checks
if [[ $# -ne 1 ]]; then
    echo "usage: $0 PACKAGE.deb | BUILD_DIR" >&2
    exit 2
fi
skip() {
    echo "$NAME: SKIP: $*"
    exit 77
}
[[ $(id -u) -eq 0 ]] || skip "needs root"
for tool in apt-get dpkg dpkg-deb dpkg-query lintian xvfb-run xdotool; do
    command -v "$tool" >/dev/null 2>&1 || skip "'$tool' is not installed"
done
if dpkg-query -W -f='${Status}' "$PACKAGE" 2>/dev/null | grep -q "install ok installed"; then
    skip "$PACKAGE is already installed; leaving it alone"
fi
[[ ! -e $PROGRAM ]] || skip "$PROGRAM already exists; leaving it alone"

WORK=$(mktemp -d "${TMPDIR:-/tmp}/deb_test.XXXXXX")
chmod 0755 "$WORK" # apt's sandbox user reads the package from here
INSTALLED=0
RESULT=FAIL
cleanup() {
    local status=$?
    trap - EXIT INT TERM HUP
    set +e
    if ((INSTALLED)); then
        DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq -o DPkg::Lock::Timeout=300 "$PACKAGE" >"$WORK/remove.log" 2>&1 ||
            { cat "$WORK/remove.log"; RESULT=FAIL; }
        if [[ -e $PROGRAM ]]; then
            echo "$NAME: FAIL: $PROGRAM is still there after apt-get remove"
            RESULT=FAIL
        fi
    fi
    rm -rf "$WORK"
    if [[ $RESULT == PASS ]]; then
        echo "$NAME: PASS (${SECONDS}s)"
        exit 0
    fi
    echo "$NAME: FAIL"
    ((status)) || status=1
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# ------------------------------------------------------------- the package
if [[ -d $1 ]]; then
    cpack=${CPACK_COMMAND:-cpack}
    [[ -f $1/CPackConfig.cmake ]] || { echo "$NAME: '$1' has no CPackConfig.cmake"; exit 1; }
    if ! "$cpack" -G DEB --config "$1/CPackConfig.cmake" -B "$WORK/cpack" >"$WORK/cpack.log" 2>&1; then
        cat "$WORK/cpack.log"
        echo "$NAME: cpack failed"
        exit 1
    fi
    debs=("$WORK"/cpack/"$PACKAGE"_*.deb)
    DEB=${debs[0]}
else
    DEB=$1
fi
[[ -f $DEB ]] || { echo "$NAME: no package at '$DEB'"; exit 1; }
cp "$DEB" "$WORK/"
DEB=$WORK/$(basename "$DEB")
chmod 0644 "$DEB"

depends=$(dpkg-deb -f "$DEB" Depends)
echo "$NAME: Depends: $depends"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6svg6; do
    [[ $depends == *"$lib"* ]] || { echo "$NAME: Depends does not list $lib"; exit 1; }
done

# Debian's own checks: infos are shown, errors and warnings fail the test.
# The package is checked as a user would (lintian advises against root).
lintian_status=0
if id nobody >/dev/null 2>&1 && command -v runuser >/dev/null 2>&1; then
    runuser -u nobody -- env HOME="$WORK" lintian --display-info --fail-on error,warning "$DEB" \
        >"$WORK/lintian.log" 2>&1 || lintian_status=$?
else
    lintian --display-info --fail-on error,warning "$DEB" >"$WORK/lintian.log" 2>&1 || lintian_status=$?
fi
sed 's/^/  /' "$WORK/lintian.log"
if ((lintian_status)) || grep -Eq '^[EW]: ' "$WORK/lintian.log"; then
    echo "$NAME: lintian reports errors or warnings"
    exit 1
fi
echo "$NAME: lintian: no error, no warning"

# ------------------------------------------------------------- install it
if ! DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 --no-install-recommends "$DEB" \
    >"$WORK/install.log" 2>&1; then
    tail -n 40 "$WORK/install.log"
    echo "$NAME: apt-get install failed"
    dpkg-query -W -f='${Status}' "$PACKAGE" 2>/dev/null | grep -q "installed" && INSTALLED=1
    exit 1
fi
INSTALLED=1
echo "$NAME: installed $(basename "$DEB")"

for f in "$PROGRAM" "/usr/share/applications/$APP_ID.desktop" \
    "/usr/share/metainfo/$APP_ID.metainfo.xml" \
    "/usr/share/icons/hicolor/scalable/apps/$APP_ID.svg" \
    "/usr/share/icons/hicolor/48x48/apps/$APP_ID.png" \
    /usr/share/man/man1/vadiveziduzor.1.gz /usr/share/doc/vadiveziduzor/copyright; do
    [[ -f $f ]] || { echo "$NAME: $f was not installed"; exit 1; }
done
# The command line answers without any display.
if ! version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$PROGRAM" --version 2>&1) ||
    [[ $version != "RU Zuva Zize Vadiveziduzor 1.75"* ]]; then
    echo "$NAME: '$PROGRAM --version' failed: $version"
    exit 1
fi

# ------------------------------------------------------------- start it
# Each try gets a fresh runtime folder, so no lock is left from the last.
for try in 1 2 3; do
    rm -rf "${WORK:?}/runtime" "${WORK:?}/user"
    mkdir -m 0700 "$WORK/runtime"
    mkdir "$WORK/user"
    status=0
    xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        "$BASH" "$0" --inside "$WORK/runtime" "$WORK/user" || status=$?
    ((status == 3 && try < 3)) || break
done
((status == 0)) || exit 1

RESULT=PASS
