#!/usr/bin/env bash
# Cross-builds kel for 64-bit Windows on Debian 12: kel.exe, kel-cli.exe and
# the tests, with MinGW-w64 and the Qt 6.4.2 for MinGW of shared/toolchains
# (unpacked into /opt when missing), warnings as errors.
# Usage: scripts/build-windows.sh [build-folder] [targets...]
#   (default build-windows/, every target)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-windows}"
shift || true

qt=/opt/qt6.4.2-mingw-w64
archive_name=qt6.4.2-mingw-w64-x86_64.tar.xz

"$here/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64 xz-utils

if [ ! -d "$qt" ]; then
    archive="${KEL_QT_MINGW_ARCHIVE:-}"
    for candidate in "$here/../shared/toolchains/$archive_name" /work/shared/toolchains/$archive_name; do
        [ -n "$archive" ] || { [ -f "$candidate" ] && archive="$candidate"; }
    done
    if [ -z "$archive" ] || [ ! -f "$archive" ]; then
        echo "build-windows: $archive_name not found (set KEL_QT_MINGW_ARCHIVE to its path)" >&2
        exit 1
    fi
    sums="$(dirname "$archive")/SHA256SUMS"
    if [ -f "$sums" ]; then
        (cd "$(dirname "$archive")" && grep " $archive_name\$" SHA256SUMS | sha256sum -c --quiet -)
    fi
    echo "Unpacking $archive into /opt"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo tar -C /opt -xJf "$archive"
fi

cmake -S "$here" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DKEL_WERROR=ON \
    -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
