#!/usr/bin/env bash
# Builds the Debian package: build-deb/kel_<version>_<arch>.deb.
# Install it with: sudo apt install ./build-deb/kel_*.deb
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-deb}"

"$here/scripts/install-deps.sh" dpkg-dev file
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKEL_BUILD_TESTS=OFF
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB)
ls -1 "$build"/kel_*.deb
