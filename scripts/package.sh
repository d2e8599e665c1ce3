#!/usr/bin/env bash
# Builds the Debian package: installs what is missing, checks the desktop
# files, makes a Release build in build-package/ and runs CPack there.
# Prints the path of the .deb on the last line. ZUVA_PACKAGE_DIR picks
# another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${ZUVA_PACKAGE_DIR:-$root/build-package}

scripts/deps.sh run

# Packaging tools: dpkg-shlibdeps (dpkg-dev) and file find the library
# dependencies; the two validators check the desktop files.
tools=(dpkg-dev file appstream desktop-file-utils)
scripts/install-packages.sh "${tools[@]}"

desktop-file-validate packaging/*.desktop
appstreamcli validate --strict --no-net packaging/*.metainfo.xml

cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Release \
    -DZUVA_BUILD_TESTS=OFF -DZUVA_BUILD_BENCH=OFF -DZUVA_SANITIZE=OFF
cmake --build "$build" -j "$(nproc)"

rm -f "$build"/vadiveziduzor_*.deb
(cd "$build" && cpack -G DEB)

debs=("$build"/vadiveziduzor_*.deb)
if [[ ${#debs[@]} -ne 1 || ! -f ${debs[0]} ]]; then
    echo "package.sh: CPack made no vadiveziduzor .deb in $build" >&2
    exit 1
fi
# CPack leaves Depends empty when dpkg-shlibdeps is missing: refuse that.
depends=$(dpkg-deb -f "${debs[0]}" Depends)
if [[ $depends != *libqt6widgets6* ]]; then
    echo "package.sh: the package does not depend on the Qt libraries (Depends: '$depends')" >&2
    exit 1
fi
echo "${debs[0]}"
