#!/usr/bin/env bash
# Draws packaging/windows/kel.ico (16 to 256 px) from the program's own icon.
# Run after a Linux build when the icon changes: scripts/make-windows-icon.sh [build-folder]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
"$here/scripts/install-deps.sh" imagemagick
cmake --build "$build" --target kel-icon-export
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
pngs=()
for size in 16 24 32 48 64 128 256; do
    QT_QPA_PLATFORM=offscreen "$build/packaging/kel-icon-export" "$size" "$tmp/$size.png"
    pngs+=("$tmp/$size.png")
done
convert "${pngs[@]}" "$here/packaging/windows/kel.ico"
ls -l "$here/packaging/windows/kel.ico"
