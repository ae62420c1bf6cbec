#!/usr/bin/env bash
# Pictures of the main window, to look at after a change of the window or skin.
#   OUTDIR/pages/NN-page.png  every page (and the option pop-up) of the window on
#                             the simulator, connected to the ESC; transparent
#                             outside the window's outline
#   OUTDIR/desktop.png        `kel --simulate` as it shows on an X server
# Usage: scripts/screenshot-window.sh [OUTDIR] [BUILD]   (defaults: BUILD/screenshots, ./build)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${2:-$here/build}"
out="${1:-$build/screenshots}"

"$here/scripts/install-deps.sh" xvfb xauth imagemagick
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEL_WERROR=ON
fi
cmake --build "$build" -j 2 --target kel kel-window-shots
mkdir -p "$out/pages"

# Every page, drawn by the window itself on a real X server.
xvfb-run -a -s "-screen 0 1024x768x24" "$build/tests/window/kel-window-shots" "$out/pages"

# The program as a user starts it: the first poll (after 2 s) lights the USB lamp.
desktop_shot='"$0" --simulate & pid=$!; sleep 3; import -window root -crop 702x705+0+0 "$1"; kill "$pid"; wait "$pid" 2>/dev/null || true'
xvfb-run -a -s "-screen 0 1024x768x24" bash -c "$desktop_shot" "$build/app/kel" "$out/desktop.png"
echo "$out/desktop.png"
