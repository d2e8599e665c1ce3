#!/usr/bin/env bash
# Builds the Windows program and its installer on Debian 12, with nothing
# from outside Debian's archive:
#   build-windows/vadiveziduzor.exe        one static program, pictures, texts,
#                                          places and zone data inside
#   build-windows/vadiveziduzor-1.75-setup.exe
# A static Qt for Windows is built once into a cache folder outside the work
# tree (scripts/windows-qt.sh; about half an hour on two cores) and reused.
#   scripts/package-windows.sh           build
#   scripts/package-windows.sh --test    build, then run the Windows tests under Wine
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
run_tests=0
[[ ${1:-} == --test ]] && run_tests=1
jobs=$(nproc)
cache="${ZUVA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/vadiveziduzor-windows}"
export ZUVA_WINDOWS_CACHE=$cache

scripts/install-packages.sh \
    build-essential cmake ninja-build pkg-config dpkg-dev \
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libgeonames-dev libgtest-dev libgmock-dev googletest \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
    wine wine64 nsis imagemagick xvfb xauth xdotool x11-utils pandoc unrtf fonts-dejavu-core \
    cups-daemon cups-client printer-driver-cups-pdf poppler-utils

qt=$(scripts/windows-qt.sh)
echo "Qt for Windows: $qt"

# What the Windows build carries, made here by the Linux build's tools: the
# places and zone histories, the pictures as PNG, the icon.
host=$root/build-windows-host
cmake -S . -B "$host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZUVA_TEST_DEB=OFF >/dev/null
cmake --build "$host" -j "$jobs" --target place_data svg_to_png reading_probe
data=$host/windows-data
mkdir -p "$data/pictures"
"$host/place_data" "$data/place_data.tsv" "$data/place_names.bin"
"$host/svg_to_png" "$data/pictures" content/pictures/*.svg content/icon/app.svg
convert content/icon/app-{16,24,32,48,64,128,256}.png "$data/vadiveziduzor.ico"

# Wine runs the build's own tools and the tests, in a prefix of its own.
export WINEPREFIX=$cache/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
[[ -d $WINEPREFIX ]] || wineboot -i </dev/null >/dev/null 2>&1
# The server and Wine's own services start here, detached from every pipe:
# started from inside the build they would keep its output open, and the
# build would wait for them for ever.
wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
# The widget tests draw on Qt's offscreen platform, which on Windows reads
# fonts from a folder only. Wine hands no QT_ variable over from this side,
# so the folder is named in the prefix's own environment.
wine reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /t REG_SZ /d 'Z:\usr\share\fonts\truetype\dejavu' /f \
    </dev/null >/dev/null 2>&1

build=$root/build-windows
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-w64.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_FIND_ROOT_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/wine \
    -DZUVA_PLACE_DATA="$data/place_data.tsv" -DZUVA_PLACE_NAMES="$data/place_names.bin" -DZUVA_PICTURE_PNGS="$data/pictures" \
    -DZUVA_WINDOWS_ICON="$data/vadiveziduzor.ico" -DZUVA_HOST_READING_PROBE="$host/tests/reading_probe" \
    -DZUVA_BUILD_TESTS="$([[ $run_tests == 1 ]] && echo ON || echo OFF)" \
    -DZUVA_WARNINGS_AS_ERRORS="$([[ $run_tests == 1 ]] && echo ON || echo OFF)" >/dev/null
cmake --build "$build" -j "$jobs"
x86_64-w64-mingw32-strip "$build/vadiveziduzor.exe"

version=$(sed -n 's/^project(.* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
makensis -V2 -DVERSION="$version" -DEXE="$build/vadiveziduzor.exe" -DLICENSE="$root/LICENSE" \
    -DOUT="$build/vadiveziduzor-$version-setup.exe" packaging/windows/installer.nsi
ls -l "$build/vadiveziduzor.exe" "$build/vadiveziduzor-$version-setup.exe"

if [[ $run_tests == 1 ]]; then
    ctest --test-dir "$build" --output-on-failure -j "$jobs"
    # Its screenshots stay in the build folder.
    (cd "$build" && "$root/tests/wine_e2e_test.sh" vadiveziduzor.exe "vadiveziduzor-$version-setup.exe")
fi
