#!/usr/bin/env bash
# Resident memory over 1,500 shown readings with the report on a private Xvfb
# server: prints the resident memory every 100 readings and the growth after
# the first 100, which should stay under 256 KiB.
#
# Usage: bench/run_x11_memory.sh BUILD_DIR [READINGS]   (a build with -DZUVA_BUILD_BENCH=ON)
set -euo pipefail
build=${1:?usage: $0 BUILD_DIR [READINGS]}
readings=${2:-1500}
command -v xvfb-run >/dev/null || { echo "xvfb-run is not installed" >&2; exit 77; }
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/x11_memory" "$readings" 2> >(grep -v propagateSizeHints >&2)
