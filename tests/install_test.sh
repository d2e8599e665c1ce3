#!/usr/bin/env bash
# Installs an already-built tree into a scratch prefix and checks the result:
# the program, its manual page, copyright file and changelog, its desktop
# file, software-centre entry and every icon size are there, match the
# sources, pass the validators, and nothing else is installed (no tests,
# tools, static libraries or headers).
#
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
# CMAKE_COMMAND names the cmake to use (default: cmake from PATH).
# Exit codes: 0 pass, 1 fail, 2 bad usage, 77 skipped (a tool is missing;
# the checks that could run have passed by then).
set -euo pipefail

readonly NAME=install_tree
readonly APP_ID=org.example.zuvazize.vadiveziduzor
readonly PROGRAM=vadiveziduzor
readonly SIZES=(16 24 32 48 64 128 256)

if [[ $# -ne 2 ]]; then
    echo "usage: $0 BUILD_DIR SOURCE_DIR" >&2
    exit 2
fi
BUILD_DIR=$1
SOURCE_DIR=$2
CMAKE=${CMAKE_COMMAND:-cmake}

if ! command -v "$CMAKE" >/dev/null 2>&1; then
    echo "$NAME: SKIP: '$CMAKE' is not installed"
    exit 77
fi
if [[ ! -f $BUILD_DIR/cmake_install.cmake ]]; then
    echo "$NAME: FAIL: '$BUILD_DIR' is not a configured build folder"
    exit 1
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/install_test.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
ROOT=$WORK/root
PREFIX=$ROOT/usr

failures=0
fail() {
    echo "$NAME: FAIL: $*"
    failures=$((failures + 1))
}

if ! "$CMAKE" --install "$BUILD_DIR" --prefix "$PREFIX" >"$WORK/install.log" 2>&1; then
    cat "$WORK/install.log"
    echo "$NAME: FAIL: cmake --install failed"
    exit 1
fi

# ------------------------------------------------------------ what is there
expected=(
    "bin/$PROGRAM"
    "share/man/man1/$PROGRAM.1.gz"
    "share/doc/$PROGRAM/copyright"
    "share/doc/$PROGRAM/changelog.gz"
    "share/applications/$APP_ID.desktop"
    "share/metainfo/$APP_ID.metainfo.xml"
    "share/icons/hicolor/scalable/apps/$APP_ID.svg"
)
for n in "${SIZES[@]}"; do
    expected+=("share/icons/hicolor/${n}x${n}/apps/$APP_ID.png")
done

for f in "${expected[@]}"; do
    [[ -f $PREFIX/$f ]] || fail "missing $f"
done
[[ -x $PREFIX/bin/$PROGRAM ]] || fail "bin/$PROGRAM is not executable"

# Exactly the expected files: anything more is reported by name.
mapfile -t installed < <(cd "$PREFIX" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
mapfile -t unexpected < <(comm -23 <(printf '%s\n' "${installed[@]}") \
    <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort))
for f in "${unexpected[@]}"; do
    [[ -n $f ]] || continue
    case $f in
    *.a) fail "static library installed: $f" ;;
    *.h | *.hpp | include/*) fail "header installed: $f" ;;
    *test* | *bench*) fail "test or benchmark file installed: $f" ;;
    *) fail "unexpected file installed: $f" ;;
    esac
done

# ------------------------------------------------- same bytes as the sources
same() {
    cmp -s "$1" "$2" || fail "$2 differs from $1"
}
same "$SOURCE_DIR/packaging/$APP_ID.desktop" "$PREFIX/share/applications/$APP_ID.desktop"
same "$SOURCE_DIR/packaging/$APP_ID.metainfo.xml" "$PREFIX/share/metainfo/$APP_ID.metainfo.xml"
same "$SOURCE_DIR/packaging/copyright" "$PREFIX/share/doc/$PROGRAM/copyright"
# Compressed at the highest level with no name or time stamp inside.
for name in "man/man1/$PROGRAM.1" "doc/$PROGRAM/changelog"; do
    gz=$PREFIX/share/$name.gz
    [[ -f $gz ]] || continue
    cmp -s "$SOURCE_DIR/packaging/$(basename "$name")" <(gzip -dc "$gz") || fail "$gz does not unpack to its source"
    cmp -s "$gz" <(gzip -9nc <"$SOURCE_DIR/packaging/$(basename "$name")") || fail "$gz is not gzip -9n"
done
same "$SOURCE_DIR/content/icon/app.svg" "$PREFIX/share/icons/hicolor/scalable/apps/$APP_ID.svg"

# Each PNG sits in the folder of its own size (width and height from IHDR).
png_size() {
    od -An -j16 -N8 -tu1 "$1" | awk '{ printf "%dx%d", ($1*16777216)+($2*65536)+($3*256)+$4, ($5*16777216)+($6*65536)+($7*256)+$8 }'
}
for n in "${SIZES[@]}"; do
    png=$PREFIX/share/icons/hicolor/${n}x${n}/apps/$APP_ID.png
    [[ -f $png ]] || continue
    same "$SOURCE_DIR/content/icon/app-$n.png" "$png"
    got=$(png_size "$png")
    [[ $got == "${n}x${n}" ]] || fail "icon in ${n}x${n} is $got"
done

# ---------------------------------------------------- names agree with each other
desktop=$PREFIX/share/applications/$APP_ID.desktop
metainfo=$PREFIX/share/metainfo/$APP_ID.metainfo.xml
if [[ -f $desktop ]]; then
    grep -qx "Exec=$PROGRAM" "$desktop" || fail "desktop file does not run '$PROGRAM'"
    grep -qx "Icon=$APP_ID" "$desktop" || fail "desktop file does not name the icon '$APP_ID'"
fi
if [[ -f $metainfo ]]; then
    grep -q "<id>$APP_ID</id>" "$metainfo" || fail "metainfo id is not '$APP_ID'"
    grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" "$metainfo" ||
        fail "metainfo does not launch '$APP_ID.desktop'"
fi

# The installed program must not look for libraries in the build folder.
if [[ -f $PREFIX/bin/$PROGRAM ]] && command -v readelf >/dev/null 2>&1; then
    if readelf -d "$PREFIX/bin/$PROGRAM" | grep -E 'R(UN)?PATH' | grep -qF "$BUILD_DIR"; then
        fail "bin/$PROGRAM keeps a run path into the build folder"
    fi
fi

# ---------------------------------------------------------------- validators
skipped=()
if command -v desktop-file-validate >/dev/null 2>&1; then
    if ! out=$(desktop-file-validate "$desktop" 2>&1) || [[ -n $out ]]; then
        echo "$out"
        fail "desktop-file-validate reported problems"
    fi
else
    skipped+=(desktop-file-validate)
fi
if command -v appstreamcli >/dev/null 2>&1; then
    # The tree check also ties the entry to its desktop file and icons;
    # strict: an info fails it as well.
    if ! appstreamcli validate-tree --strict --no-net "$ROOT" >"$WORK/appstream.log" 2>&1; then
        cat "$WORK/appstream.log"
        fail "appstreamcli validate-tree reported problems"
    fi
else
    skipped+=(appstreamcli)
fi

if ((failures)); then
    echo "$NAME: installed files:"
    printf '  %s\n' "${installed[@]}"
    echo "$NAME: FAIL ($failures problem(s))"
    exit 1
fi
if ((${#skipped[@]})); then
    echo "$NAME: SKIP: files are right, but not validated: ${skipped[*]} not installed"
    exit 77
fi
echo "$NAME: PASS (${#installed[@]} files)"
