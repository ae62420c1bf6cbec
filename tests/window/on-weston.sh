#!/usr/bin/env bash
# Runs a Qt test binary on Qt's wayland platform inside a headless weston.
# Fails, and says why, when weston or Qt's wayland plugin is missing: this
# test never passes without having run.
set -u
fail() { echo "on-weston: FAILED: $*" >&2; exit 1; }
command -v weston >/dev/null || fail "weston is not installed (apt-get install weston)"
plugins="$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || echo /usr/lib/x86_64-linux-gnu/qt6/plugins)"
ls "$plugins"/platforms/libqwayland-*.so >/dev/null 2>&1 ||
    fail "Qt's wayland platform plugin is missing (apt-get install qt6-wayland)"

runtime="$(mktemp -d)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
socket="kel-test-$$"
weston --backend=headless-backend.so --socket="$socket" --width=1024 --height=800 --idle-time=0 \
    >"$runtime/weston.log" 2>&1 &
weston_pid=$!
trap 'kill "$weston_pid" 2>/dev/null; wait "$weston_pid" 2>/dev/null; rm -rf "$runtime"' EXIT

for _ in $(seq 1 100); do
    [ -S "$runtime/$socket" ] && break
    sleep 0.1
done
[ -S "$runtime/$socket" ] || { cat "$runtime/weston.log" >&2; fail "weston did not start"; }

# Under the sanitizer build, leaks are checked by the offscreen tests of the
# same code; Qt's wayland plugin keeps allocations of its own until exit.
ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0" \
    WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland "$1" "${@:2}"
