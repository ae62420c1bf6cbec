#!/usr/bin/env bash
# Builds kel and runs it: on the program box when one is plugged in
# (USB 10C4:EA60), otherwise on the built-in simulator.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build"

"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEL_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

args=()
if ! grep -qsi '10c4' /sys/bus/usb/devices/*/idVendor \
   || ! grep -qsi 'ea60' /sys/bus/usb/devices/*/idProduct; then
    echo "No program box found: running on the simulator."
    args+=(--simulate)
fi

if [ -x "$build/app/kel" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/app/kel" "${args[@]}" "$@"
fi
echo "No display (or no window program built): using the command-line tool."
exec "$build/cli/kel-cli" "${args[@]}" detect "$@"
