#!/usr/bin/env bash
# Start-up time and idle cost of the window: `kel --simulate` on an X server.
#   start-up: program start to the window's first paint (as kel reports it with
#             --report-startup) and launch to that report as seen from outside
#   idle CPU: share of one core over SECONDS while the window only polls,
#             with no device chosen and with the ESC chosen (500 ms ticks)
# Usage: bench/window.sh [BUILD] [SECONDS]     (defaults: ./build, 20)
# Runs itself under xvfb-run when no display is set. Clicking the ESC radio
# button needs xdotool.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
seconds="${2:-20}"
kel="$build/app/kel"

if [ -z "${DISPLAY:-}" ]; then
    "$here/scripts/install-deps.sh" xvfb xauth xdotool
    [ -f "$build/build.ninja" ] || cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j 2 --target kel >/dev/null
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$seconds"
fi

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
ticks_per_second=$(getconf CLK_TCK)

echo "== start-up (5 runs)"
for run in 1 2 3 4 5; do
    log=$(mktemp)
    launched=$(now_ms)
    "$kel" --simulate --report-startup 2>"$log" &
    pid=$!
    until grep -q "first paint" "$log"; do sleep 0.01; done
    seen=$(now_ms)
    echo "run $run: $(grep -o '[0-9]* ms' "$log" | head -1) inside kel, $((seen - launched)) ms from launch"
    kill "$pid"; wait "$pid" 2>/dev/null || true
    rm -f "$log"
done

idle() {  # $1: label, $2: "esc" to click the ESC radio button
    "$kel" --simulate 2>/dev/null &
    local pid=$!
    sleep 1
    if [ "$2" = esc ]; then
        xdotool mousemove 406 568 click 1  # radio button 1114 at (400, 562), window at the origin
        sleep 3                            # first tick at 2 s opens the port, the next reads the ESC
    else
        sleep 2.5
    fi
    local before after
    before=$(cpu_ticks "$pid")
    sleep "$seconds"
    after=$(cpu_ticks "$pid")
    awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" -v l="$1" \
        'BEGIN { printf "%s: %.2f %% of one core (%d ticks in %d s)\n", l, 100 * t / hz / s, t, s }'
    kill "$pid"; wait "$pid" 2>/dev/null || true
}

echo "== idle CPU over ${seconds} s"
idle "no device chosen (2000 ms ticks)" none
if command -v xdotool >/dev/null; then
    idle "ESC chosen and connected (500 ms ticks)" esc
else
    echo "ESC chosen: skipped, xdotool is not installed"
fi
