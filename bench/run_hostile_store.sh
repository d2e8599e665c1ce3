#!/usr/bin/env bash
# Starts the real program on a private Xvfb with a hostile people store (or
# lock) of each kind in its settings folder, and prints how long each start
# took until the birth-details window was drawn; the target is under a
# second for every kind. The kinds follow the people-store tests: deep
# nesting, cut short, binary, 100 MB, wrong types, path-like zone names, a
# megabyte of zone name, a pipe, links, a folder, an earlier version's file
# with an encoded value nested 40,000 deep and with 1,000,000 sections, and a
# lock that is a folder, a pipe or a link to /dev/zero.
#
# BENCH_BUILD_DIR   build folder (build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${BENCH_BUILD_DIR:-build-bench}
title="RU Zuva Zize Vadiveziduzor v1.75"
log() { echo "$*" >&2; }

scripts/deps.sh >&2
scripts/install-packages.sh libxcb1-dev libxcb-damage0-dev pkg-config >&2
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DZUVA_BUILD_BENCH=ON -DZUVA_BUILD_TESTS=OFF >&2
cmake --build "$build_dir" -j "$(nproc)" --target vadiveziduzor map_watcher >&2
program=$(realpath "$build_dir/vadiveziduzor")
watcher=$(realpath "$build_dir/bench/map_watcher")

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/displayfd" >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 20 display <"$work/displayfd"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
mkdir -m 0700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"

store_with() { # the man's object
    printf '{"program": "vadiveziduzor-people", "version": 2, "partner": {}, "man": %s}' "$1"
}
repeat() { perl -e 'print $ARGV[0] x $ARGV[1]' "$1" "$2"; }

# Prepares the settings folder $1 for the kind $2.
prepare() {
    local folder=$1 kind=$2 store=$1/vadiveziduzor-people.json earlier=$1/vadiveziduzor.ini
    case $kind in
    "nothing") ;;
    "nesting 30,000 deep") store_with "$(repeat '[' 30000)$(repeat ']' 30000)" >"$store" ;;
    "cut short") store_with '{"name": "Ravi", "year": 1990}' | head -c 60 >"$store" ;;
    "binary") head -c 65536 /dev/urandom >"$store" ;;
    "100 MB") truncate -s 100M "$store" ;;
    "wrong types") store_with '{"name": 5, "month": "3", "year": [1990], "hour": 1e300, "pick": "Asia/Kolkata"}' >"$store" ;;
    "zone names as paths")
        mkfifo "$work/fifo"
        store_with "{\"name\": \"Ravi\", \"pick\": {\"timeZone\": \"../../../..$work/fifo\", \"latitude\": 1, \"longitude\": 2}}" >"$store"
        ;;
    "a megabyte of zone name") store_with "{\"pick\": {\"timeZone\": \"$(repeat A 1048576)\"}}" >"$store" ;;
    "pipe") mkfifo "$store" ;;
    "link to /dev/zero") ln -s /dev/zero "$store" ;;
    "folder") mkdir "$store" ;;
    "earlier file, encoded value 40,000 deep")
        { printf '[General]\nlayout=1\n[Man]\nname=@Variant('; repeat '\0\0\0\x09\0\0\0\x01' 40000; printf ')\n[Partner]\n'; } >"$earlier"
        ;;
    "earlier file, 1,000,000 sections") perl -e 'print "[S$_]\nk=v\n" for 1..1000000' >"$earlier" ;;
    "lock is a folder") mkdir "$folder/vadiveziduzor.lock" ;;
    "lock is a pipe") mkfifo "$folder/vadiveziduzor.lock" ;;
    "lock is a link to /dev/zero") ln -s /dev/zero "$folder/vadiveziduzor.lock" ;;
    esac
}

kinds=("nothing" "nesting 30,000 deep" "cut short" "binary" "100 MB" "wrong types" "zone names as paths"
    "a megabyte of zone name" "pipe" "link to /dev/zero" "folder" "earlier file, encoded value 40,000 deep"
    "earlier file, 1,000,000 sections" "lock is a folder" "lock is a pipe" "lock is a link to /dev/zero")
echo "| Store in the settings folder | Start-up to first drawn frame (ms) | Result |"
echo "|---|---|---|"
failures=0
for kind in "${kinds[@]}"; do
    rm -rf "$work/config" "$work/fifo"
    mkdir -p -m 0700 "$work/config/zuvazize"
    prepare "$work/config/zuvazize" "$kind"
    line=$(XDG_CONFIG_HOME="$work/config" "$watcher" --timeout-ms 10000 "$title" "$program" 2>/dev/null) || line=""
    shown=$(sed -n 's/.*shown_ms=\([0-9.]*\).*/\1/p' <<<"$line")
    if [[ -n $shown ]] && awk -v t="$shown" 'BEGIN { exit !(t < 1000) }'; then
        result=PASS
    else
        result=FAIL
        failures=$((failures + 1))
    fi
    echo "| $kind | ${shown:-no window} | $result |"
done
exit $((failures > 0))
