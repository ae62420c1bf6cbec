#!/usr/bin/env bash
# Lays out the portable Windows folder from a cross build (scripts/build-windows.sh):
# kel.exe, kel-cli.exe, the Qt and C++ runtime DLLs, platforms/qwindows.dll and
# the styles plugin, all stripped. The zip, the installer and the Wine tests
# all start from this folder.
# Usage: scripts/stage-windows.sh BUILD-FOLDER DEST-FOLDER
set -euo pipefail
build="$1"
dest="$2"
qt=/opt/qt6.4.2-mingw-w64
gcc_dlls=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
strip=x86_64-w64-mingw32-strip

rm -rf "$dest"
mkdir -p "$dest/platforms" "$dest/styles"
cp "$build/app/kel.exe" "$build/cli/kel-cli.exe" "$dest/"
for dll in Qt6Core Qt6Gui Qt6Widgets Qt6SerialPort; do
    cp "$qt/bin/$dll.dll" "$dest/"
done
cp "$gcc_dlls/libstdc++-6.dll" "$gcc_dlls/libgcc_s_seh-1.dll" /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$dest/"
cp "$qt/plugins/platforms/qwindows.dll" "$dest/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$dest/styles/"
find "$dest" -name '*.exe' -o -name '*.dll' | xargs "$strip" --strip-unneeded
