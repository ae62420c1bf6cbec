#!/usr/bin/env bash
# Cross-builds kel for Windows and tests it under Wine, in a fresh Wine prefix
# in a temporary folder (no desktop integration, WINEDEBUG=-all):
#   1. the engine's unit tests and the fuzz corpus replays, as .exe;
#   2. kel-cli.exe --simulate through detect, read, write, defaults, profile
#      save and show, check, flash-esc and flash-box: the same standard output,
#      standard error, exit status and files as the Linux kel-cli;
#   3. kel-cli.exe --port COM5 / COM12 against kel-sim on a pseudo-terminal
#      that Wine maps to those COM ports: detect, read, write, flash-esc and a
#      missing port, as the Linux kel-cli does against a second kel-sim;
#   4. kel.exe --simulate under Xvfb: a 702 x 705 window, a click on ESC, the
#      lamps lit and the version shown (pixels), a screenshot kept in
#      build-windows/kel-wine.png.
# Usage: scripts/test-windows.sh [linux-build-folder]   (default build/)
# The Linux build gives the reference outputs and kel-sim's sample firmware.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
native="$(cd "${1:-$here/build}" && pwd)"
build="$here/build-windows"
start=$SECONDS

unit_tests=(link/link_tests settings/settings_tests update/update_tests uilogic/uilogic_tests sim/sim_tests
            linkqt/linkqt_tests window/app_commandline_tests)
fuzz_replays=(profile settings_reply number_text zrv xup firmware_check)
# Two of the Qt window test programs: the window's frame and menus, and the
# window on the simulated box (lamps, version, exchanges).
qt_tests=(window/window_shell_tests window/window_settings_tests)

"$here/scripts/install-deps.sh" wine wine64 xvfb xauth xdotool imagemagick fonts-dejavu-core
targets=(kel kel-cli)
for t in "${unit_tests[@]}" "${qt_tests[@]}"; do targets+=("${t#*/}"); done
for f in "${fuzz_replays[@]}"; do targets+=("fuzz_${f}_replay"); done
"$here/scripts/build-windows.sh" "$build" "${targets[@]}"
echo "== Windows build: $((SECONDS - start)) s"
cmake --build "$native" --target kel-cli kel-sim

work="$(mktemp -d /tmp/kel-wine.XXXXXX)"
xvfb_pid=""
sim_pids=()
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    for p in ${sim_pids[@]+"${sim_pids[@]}"}; do kill "$p" 2>/dev/null || true; done
    WINEPREFIX="$work/prefix" wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

stage="$work/kel"
"$here/scripts/stage-windows.sh" "$build" "$stage"

export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
# Wine needs an X display for any window, even a Qt test's hidden ones.
exec 5>"$work/display"
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
t0=$SECONDS
wineboot --init >/dev/null 2>&1
# A fresh prefix has no Windows fonts. For Verdana (the version field's font)
# and Tahoma (Qt's default under Wine) Wine would pick DejaVu Math TeX Gyre,
# whose line metrics put a QLineEdit's text outside its box: the field would
# stay empty. Windows itself has both fonts.
for font in Verdana Tahoma; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$font" /t REG_SZ /d 'DejaVu Sans' /f >/dev/null 2>&1
done
wineserver -w
echo "== Wine prefix: $((SECONDS - t0)) s"
# The tests find the shipped DLLs, and Qt's test DLL, through WINEPATH.
export WINEPATH="Z:${stage//\//\\};Z:\\opt\\qt6.4.2-mingw-w64\\bin"
wineserver -p   # one server for every run below

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs one test program under Wine with a time limit; its output goes to OUT,
# and the count of tests passed is the last number PATTERN finds in LOG (no
# pattern: the program is one test).
wine_test() {  # NAME LOG OUT PATTERN LIMIT COMMAND...
    local name=$1 log=$2 out=$3 pattern=$4 limit=$5 n=1
    shift 5
    if timeout "$limit" "$@" >"$out" 2>&1; then
        [ -z "$pattern" ] || n=$(grep -oE "$pattern" "$log" | grep -oE '[0-9]+' | head -1 || echo 0)
        unit_count=$((unit_count + n))
        echo "ok   $name: $n tests"
    else
        cat "$log"
        fail "$name"
    fi
}

# 1. Unit tests.
t0=$SECONDS
unit_count=0
for t in "${unit_tests[@]}"; do
    log="$work/$(basename "$t").log"
    wine_test "$t.exe" "$log" "$log" '^\[  PASSED  \] [0-9]+' 300 wine "$build/tests/$t.exe"
done
for f in "${fuzz_replays[@]}"; do
    wine_test "fuzz_${f}_replay.exe" "$work/fuzz.log" "$work/fuzz.log" '' 300 \
        wine "$build/tests/fuzz/fuzz_${f}_replay.exe" "$here/tests/fuzz/corpus/$f"
done
# Wine hides every QT_* variable from Windows programs (QT_QPA_PLATFORM too),
# so the platform and its folder go on the command line; and Qt Test's report
# goes to a file, as a program that is killed loses its buffered output.
for t in "${qt_tests[@]}"; do
    log="$work/$(basename "$t").log"
    wine_test "$t.exe" "$log" /dev/null '^Totals: [0-9]+ passed' 120 wine "$build/tests/$t.exe" -platform offscreen \
        -platformpluginpath 'Z:\opt\qt6.4.2-mingw-w64\plugins\platforms' -o "Z:${log//\//\\},txt"
done
echo "== Unit and Qt tests under Wine: $unit_count passed, $((SECONDS - t0)) s"

# 2. kel-cli.exe --simulate against the Linux kel-cli --simulate.
t0=$SECONDS
mkdir -p "$work/linux" "$work/windows"
for dir in "$work/linux" "$work/windows"; do
    "$native/sim/kel-sim" --write-zrv "$dir/sample.zrv" --size 1024
    "$native/sim/kel-sim" --write-xup "$dir/sample.xup" --size 1024
    printf '0010AABB' >"$dir/damaged.xup"
    printf 'an older profile, longer than 31 bytes' >"$dir/old.cfg"
done
cli_runs=(
    "detect"
    "detect --as box"
    "detect --as fix"
    "read"
    "--json read"
    "write Power Level=Level 3|Drag Brake=Custom|Drag Brake custom=25%"
    "defaults"
    "profile save race.cfg"
    "profile save old.cfg"
    "profile show race.cfg"
    "--json profile show race.cfg"
    "check sample.zrv"
    "check damaged.xup"
    "flash-esc sample.zrv"
    "flash-box sample.xup"
    "write Power Level=Level 99"
    "no-such-command"
)
cli_count=0
for run in "${cli_runs[@]}"; do
    # Words are split at spaces, except in write's LABEL=VALUE list (split at |).
    if [[ "$run" == write\ * ]]; then
        IFS='|' read -r -a pairs <<<"${run#write }"
        args=(--simulate write "${pairs[@]}")
    else
        read -r -a words <<<"$run"
        args=(--simulate "${words[@]}")
    fi
    (cd "$work/linux" && "$native/cli/kel-cli" "${args[@]}" >out 2>err; echo $? >status) || true
    (cd "$work/windows" && wine "$stage/kel-cli.exe" "${args[@]}" >out 2>err; echo $? >status) || true
    sed -i 's/\r$//' "$work/windows/out" "$work/windows/err"
    same=1
    for f in status out err; do
        if ! cmp -s "$work/linux/$f" "$work/windows/$f"; then
            same=0
            echo "-- $f differs for: kel-cli ${args[*]}"
            diff "$work/linux/$f" "$work/windows/$f" | head -20 || true
        fi
    done
    for f in race.cfg old.cfg; do
        [ -e "$work/linux/$f" ] || [ -e "$work/windows/$f" ] || continue
        cmp -s "$work/linux/$f" "$work/windows/$f" || { same=0; echo "-- $f differs after: kel-cli ${args[*]}"; }
    done
    if [ $same = 1 ]; then
        cli_count=$((cli_count + 1))
        echo "ok   kel-cli.exe ${args[*]} (exit $(cat "$work/windows/status"))"
    else
        fail "kel-cli.exe ${args[*]}"
    fi
    # What the Linux end-to-end tests expect of the same runs.
    case "$run" in
        read) grep -q 'Version                Ver: 102304' "$work/windows/out" \
                  && grep -q 'Power Level            Level 7\*' "$work/windows/out" || fail "read output" ;;
        write\ Power\ Level=Level\ 3*) grep -qx 'SUCCESSED' "$work/windows/err" || fail "write: no SUCCESSED" ;;
        "profile save old.cfg") [ "$(stat -c %s "$work/windows/old.cfg")" = 31 ] || fail "old.cfg not replaced" ;;
        no-such-command) [ "$(cat "$work/windows/status")" = 2 ] || fail "usage error exit" ;;
    esac
done
ls "$work/windows" | grep -q '\.part-' && fail "a temporary profile file was left behind"
echo "== kel-cli.exe --simulate under Wine: $cli_count of ${#cli_runs[@]} runs as on Linux, $((SECONDS - t0)) s"

# 3. kel-cli.exe on a COM port: Wine maps COM5 and COM12 to kel-sim's
# pseudo-terminal. The same runs go to a second kel-sim from the Linux kel-cli;
# outputs, exit statuses and what the devices hold at the end must match.
t0=$SECONDS
pty_runs=("COM5 detect" "COM12 read" "COM5 write Power Level=Level 3" "COM12 flash-esc sample.zrv"
          "COM5 read" "COM7 detect")
pty_count=0
declare -A sim_pid sim_tty
for side in linux windows; do
    "$native/sim/kel-sim" --report "$work/$side/report" >"$work/$side/sim.out" 2>/dev/null &
    sim_pid[$side]=$!
    sim_pids+=($!)
    for _ in $(seq 50); do [ -s "$work/$side/sim.out" ] && break; sleep 0.1; done
    sim_tty[$side]="$(head -1 "$work/$side/sim.out")"
done
ln -sfn "${sim_tty[windows]}" "$WINEPREFIX/dosdevices/com5"
ln -sfn "${sim_tty[windows]}" "$WINEPREFIX/dosdevices/com12"
for run in "${pty_runs[@]}"; do
    port="${run%% *}" command="${run#* }"
    if [[ "$command" == write\ * ]]; then args=(write "${command#write }"); else read -r -a args <<<"$command"; fi
    linux_port="${sim_tty[linux]}"
    [ "$port" = COM7 ] && linux_port=/dev/kel-no-such-port
    (cd "$work/linux" && timeout 60 "$native/cli/kel-cli" --port "$linux_port" "${args[@]}" >out 2>err; echo $? >status) || true
    (cd "$work/windows" && timeout 60 wine "$stage/kel-cli.exe" --port "$port" "${args[@]}" >out 2>err; echo $? >status) || true
    sed -i 's/\r$//' "$work/windows/out" "$work/windows/err"
    same=1
    for f in status out; do
        cmp -s "$work/linux/$f" "$work/windows/$f" || { same=0; echo "-- $f differs for: kel-cli --port $port ${args[*]}"; diff "$work/linux/$f" "$work/windows/$f" | head -20 || true; }
    done
    # Standard error names the port; the rest of it must match.
    if [ "$port" != COM7 ] && ! cmp -s "$work/linux/err" "$work/windows/err"; then
        same=0; echo "-- err differs for: kel-cli --port $port ${args[*]}"; diff "$work/linux/err" "$work/windows/err" | head -20 || true
    fi
    case "$run" in
        *\ read) grep -q 'Version                Ver: 102304' "$work/windows/out" || same=0 ;;
        *flash-esc*) grep -qx 'Updated successfully!' "$work/windows/err" || same=0 ;;
        COM7\ *) [ "$(cat "$work/windows/status")" != 0 ] && grep -q '^kel-cli: COM7 does not exist' "$work/windows/err" || same=0 ;;
    esac
    if [ $same = 1 ]; then
        pty_count=$((pty_count + 1))
        echo "ok   kel-cli.exe --port $port ${args[*]} (exit $(cat "$work/windows/status"))"
    else
        fail "kel-cli.exe --port $port ${args[*]}"
    fi
done
for side in linux windows; do
    kill "${sim_pid[$side]}"
    wait "${sim_pid[$side]}" || true
done
if [ -s "$work/linux/report" ] && cmp -s "$work/linux/report" "$work/windows/report"; then
    echo "ok   the devices behind COM5/COM12 hold what the Linux run left"
else
    diff "$work/linux/report" "$work/windows/report" | head -20 || true
    fail "kel-sim reports differ after the COM port runs"
fi
echo "== kel-cli.exe on a COM port (pseudo-terminal) under Wine: $pty_count of ${#pty_runs[@]} runs as on Linux, $((SECONDS - t0)) s"

# 4. kel.exe --simulate under Xvfb.
t0=$SECONDS
wine "$stage/kel.exe" --simulate >"$work/kel.log" 2>&1 &
window=""
for _ in $(seq 60); do
    window="$(xdotool search --onlyvisible --name '^Kel$' 2>/dev/null | head -1 || true)"
    [ -n "$window" ] && break
    sleep 0.5
done
shot="$build/kel-wine.png"
if [ -z "$window" ]; then
    cat "$work/kel.log"
    fail "kel.exe showed no window"
else
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "kel.exe window: ${WIDTH}x${HEIGHT} at $X,$Y"
    [ "$WIDTH" = 702 ] && [ "$HEIGHT" = 705 ] || fail "window is ${WIDTH}x${HEIGHT}, not 702x705"
    # A pixel of a lamp's disc, below and right of its highlight.
    lamp_pixel() { import -display "$DISPLAY" -window root -crop "1x1+$((X + 600 + $1))+$((Y + $2 + 21))" \
                       -depth 8 txt:- | grep -oE '#[0-9A-Fa-f]{6}' | head -1; }
    lit() {
        local hex
        hex="$(lamp_pixel 21 "$1")"
        [ -n "$hex" ] && [ $((16#${hex:1:2})) -gt 180 ] && [ $((16#${hex:3:2})) -gt 100 ] && [ $((16#${hex:5:2})) -lt 100 ]
    }
    xdotool mousemove --sync $((X + 406)) $((Y + 568)) click 1
    lamps=0
    for _ in $(seq 40); do
        if lit 610 && lit 640; then lamps=1; break; fi
        sleep 0.25
    done
    [ $lamps = 1 ] || fail "the USB and ESC lamps did not light after the click on ESC ($(lamp_pixel 21 610))"
    lit 580 && fail "the ProgramBox lamp lit for an ESC"
    # The version text is yellow on the dark field.
    yellow=$(import -display "$DISPLAY" -window root -crop "125x30+$((X + 268))+$((Y + 405))" -depth 8 txt:- |
             awk -F'[(),]' 'NR > 1 && $3 > 180 && $4 > 180 && $5 < 100 { n++ } END { print n + 0 }')
    [ "$yellow" -gt 20 ] || fail "the version field shows no text after the ESC answered ($yellow yellow pixels)"
    import -display "$DISPLAY" -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$shot"
    echo "screenshot: $shot"
fi
echo "== kel.exe under Wine and Xvfb: $((SECONDS - t0)) s"

echo "== Windows tests: $((SECONDS - start)) s in all, $failures failure(s)"
[ $failures = 0 ]
