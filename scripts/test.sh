#!/usr/bin/env bash
# Builds kel with warnings as errors and runs every test (unit, e2e, gui).
# Usage: scripts/test.sh [build-folder] [extra cmake options...]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
shift || true

"$here/scripts/install-deps.sh" xvfb xauth weston qt6-wayland
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEL_WERROR=ON "$@"
cmake --build "$build" -j "$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
