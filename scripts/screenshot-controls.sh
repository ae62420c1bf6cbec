#!/usr/bin/env bash
# Renders every skin bitmap and the skinned controls (buttons in each state,
# progress bars, progress dialog, option pop-up, a settings page put together
# from them) into PNG files in OUTDIR.
#   --xvfb   render under a virtual X server (xcb) instead of the offscreen platform
# Usage: scripts/screenshot-controls.sh [--xvfb] OUTDIR [build-folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
xvfb=0
if [ "${1:-}" = "--xvfb" ]; then xvfb=1; shift; fi
if [ $# -lt 1 ]; then
    echo "usage: $0 [--xvfb] OUTDIR [build-folder]" >&2
    exit 2
fi
out="$1"
build="${2:-$here/build}"

[ -f "$build/build.ninja" ] || cmake -S "$here" -B "$build" -G Ninja -DKEL_WERROR=ON >/dev/null
cmake --build "$build" -j 2 --target kel-skin-gallery
gallery="$build/controls/kel-skin-gallery"

mkdir -p "$out"
if [ "$xvfb" = 1 ]; then
    command -v xvfb-run >/dev/null || "$here/scripts/install-deps.sh" xvfb xauth
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$gallery" "$out"
else
    QT_QPA_PLATFORM=offscreen "$gallery" "$out"
fi
echo "Wrote $(find "$out" -name '*.png' | wc -l) PNG files to $out"
