#!/usr/bin/env bash
# Builds the Windows packages from a cross build (scripts/build-windows.sh):
#   build-windows/kel-VERSION-windows-x86_64.zip   portable: unpack and run kel.exe
#   build-windows/kel-VERSION-setup.exe            per-user installer (NSIS)
# Usage: scripts/package-windows.sh [build-folder]   (default build-windows/)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-windows}"

"$here/scripts/install-deps.sh" nsis zip
cmake --build "$build" --target kel kel-cli
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
name="kel-$version-windows-x86_64"
out="$build/package"
stage="$out/$name"
rm -rf "$out"
mkdir -p "$out"
"$here/scripts/stage-windows.sh" "$build" "$stage"

# Licence texts of what the folder bundles, and a short README.
mkdir -p "$stage/licenses"
cp /usr/share/common-licenses/LGPL-3 "$stage/licenses/LGPL-3.0.txt"
cp /usr/share/common-licenses/GPL-3 "$stage/licenses/GPL-3.0.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$stage/licenses/mingw-w64.txt"
sed "s/@VERSION@/$version/" "$here/packaging/windows/README.txt" >"$stage/README.txt"
# Windows tools expect CR LF in text files.
find "$stage" -name '*.txt' -exec sed -i 's/\r*$/\r/' {} +

rm -f "$build/$name.zip"
(cd "$out" && zip -q -9 -r "$build/$name.zip" "$name")
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DICON="$here/packaging/windows/kel.ico" -DOUTFILE="$build/kel-$version-setup.exe" \
    "$here/packaging/windows/kel.nsi"
ls -l "$build/$name.zip" "$build/kel-$version-setup.exe"
