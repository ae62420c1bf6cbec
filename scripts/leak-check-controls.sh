#!/usr/bin/env bash
# Repaints every skinned control thousands of times under a leak checker and
# fails if memory is lost.
#   valgrind (default): runs a short and a long loop and compares what valgrind
#     calls definitely and indirectly lost; a per-repaint leak grows with the loop.
#   --asan: runs the long loop in an AddressSanitizer build with LeakSanitizer.
# Usage: scripts/leak-check-controls.sh [--asan] [build-folder] [loops]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
mode=valgrind
if [ "${1:-}" = "--asan" ]; then mode=asan; shift; fi
build="${1:-$here/build-leak-$mode}"
loops="${2:-3000}"
test_bin="$build/tests/controls/controls_RepaintLoopTest"

if [ "$mode" = asan ]; then
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKEL_WERROR=ON -DKEL_SANITIZE=ON >/dev/null
else
    command -v valgrind >/dev/null || "$here/scripts/install-deps.sh" valgrind
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEL_WERROR=ON >/dev/null
fi
cmake --build "$build" -j 2 --target controls_RepaintLoopTest
export QT_QPA_PLATFORM=offscreen

if [ "$mode" = asan ]; then
    KEL_REPAINT_LOOPS="$loops" ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 "$test_bin"
    echo "LeakSanitizer: no leaks after $loops repaints of each control"
    exit 0
fi

# Bytes valgrind reports as definitely + indirectly lost after N loops.
lost_after() {
    local log
    log="$(mktemp)"
    KEL_REPAINT_LOOPS="$1" valgrind --leak-check=full --log-file="$log" "$test_bin" >/dev/null
    grep -E "definitely lost|indirectly lost|possibly lost|still reachable" "$log" |
        sed "s/^==[0-9]*==/  [$1 loops]/" >&2
    awk '/definitely lost:|indirectly lost:/ { gsub(",", "", $4); sum += $4 } END { print sum + 0 }' "$log"
    rm -f "$log"
}

short_loops=$(( loops / 10 > 0 ? loops / 10 : 1 ))
short="$(lost_after "$short_loops")"
long="$(lost_after "$loops")"
echo "lost after $short_loops loops: $short bytes; after $loops loops: $long bytes"
if [ "$long" -gt "$short" ]; then
    echo "FAIL: memory lost grows with the number of repaints"
    exit 1
fi
echo "OK: repainting loses no memory"
