#!/usr/bin/env bash
# Builds a static Qt for Windows from Debian's own qtbase sources with the
# MinGW-w64 cross compiler, once, into a cache folder outside the work tree,
# and prints its prefix. Reused while the Qt version, the options and the
# toolchain file stay the same; rebuilt when any of them changes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
cache="${ZUVA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vadiveziduzor-windows}"
jobs=$(nproc)
toolchain=$root/cmake/toolchain-mingw-w64.cmake

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
options=(
    -xplatform win32-g++ -qt-host-path /usr -static -static-runtime -release
    -no-opengl -no-dbus -no-icu -no-openssl -no-feature-sql -no-feature-tabletevent
    -qt-freetype -qt-zlib -qt-libpng -qt-libjpeg -qt-harfbuzz -qt-pcre
    -nomake examples -nomake tests
)
key=$( { echo "$qt_version"; printf '%s\n' "${options[@]}"; cat "$toolchain"; } | sha256sum | cut -c1-12)
prefix=$cache/qt-$key
if [[ -f $prefix/.complete ]]; then
    echo "$prefix"
    exit 0
fi

# Debian's source package, fetched through a deb-src line for the same
# archive that is taken away again afterwards.
src=$cache/src/qt6-base-${qt_version%%-*}
if [[ ! -d $src ]]; then
    mkdir -p "$cache/src"
    sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    # The machine's own Debian archives (security updates included), as
    # source archives; Debian's main archive where none are listed.
    if [[ -f /etc/apt/sources.list.d/debian.sources ]]; then
        list=/etc/apt/sources.list.d/vadiveziduzor-deb-src.sources
        sources=$(sed -n 's/^Types:.*\bdeb\b.*/Types: deb-src/; /^#/!p' /etc/apt/sources.list.d/debian.sources)
    elif grep -q '^deb ' /etc/apt/sources.list 2>/dev/null; then
        list=/etc/apt/sources.list.d/vadiveziduzor-deb-src.list
        sources=$(sed -n 's/^deb /deb-src /p' /etc/apt/sources.list)
    else
        list=/etc/apt/sources.list.d/vadiveziduzor-deb-src.sources
        sources=$(printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
            'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg')
    fi
    printf '%s\n' "$sources" | $sudo tee "$list" >/dev/null
    trap '$sudo rm -f "$list"' EXIT
    $sudo apt-get update -qq -o DPkg::Lock::Timeout=300
    (cd "$cache/src" && apt-get source -qq --only-source "qt6-base=$qt_version") >&2
    $sudo rm -f "$list"
    $sudo apt-get update -qq -o DPkg::Lock::Timeout=300
fi

build=$cache/build-qt-$key
rm -rf "$build" "$prefix"
mkdir -p "$build"
echo "Building a static Qt $qt_version for Windows in $build (about half an hour on two cores)" >&2
(
    cd "$build"
    export PKG_CONFIG_LIBDIR=/usr/x86_64-w64-mingw32/lib/pkgconfig
    "$src/configure" -prefix "$prefix" "${options[@]}" -- \
        -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    cmake --build . --parallel "$jobs"
    cmake --install .
) >&2
touch "$prefix/.complete"
rm -rf "$build"
echo "$prefix"
