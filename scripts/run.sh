#!/usr/bin/env bash
# Builds kel and runs it: on the program box when one is plugged in
# (USB 10C4:EA60), otherwise on the built-in simulator.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build"

"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)" --target kel kel-cli kel-sim

box_present() {
    for d in /sys/bus/usb/devices/*; do
        [ "$(cat "$d/idVendor" 2>/dev/null)" = 10c4 ] && [ "$(cat "$d/idProduct" 2>/dev/null)" = ea60 ] && return 0
    done
    return 1
}

args=()
if ! box_present; then
    echo "No program box plugged in (USB 10c4:ea60): running on the simulator."
    args+=(--simulate)
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/app/kel" "${args[@]}" "$@"
fi
echo "No display: showing what answers with the command-line tool instead."
echo "(Run the window with 'xvfb-run $build/app/kel ${args[*]}', or use $build/cli/kel-cli --help.)"
exec "$build/cli/kel-cli" "${args[@]}" detect
