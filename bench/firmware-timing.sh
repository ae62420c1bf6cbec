#!/usr/bin/env bash
# Time of flashing a 32 KiB ESC firmware (.zrv) and a 32 KiB program box
# firmware (.xup) with kel-cli against kel-sim --pace (19200 baud 8N1 on the
# simulated wire), against their lower bound: the wire time of every byte plus
# the waits the simulator imposes.
#
# Method. One `kel-cli flash-esc FILE` and one `kel-cli flash-box FILE` per run,
# each on a fresh kel-sim, and a `detect` in the same mode on another. The update is measured on kel-sim's byte log (see
# timing-lib.sh), so process start-up, opening the port and the detection
# before the update do not count:
#   flash-esc = first 0xD6 received .. acknowledgement of the last record handed out
#   flash-box = first 0xD6 received .. status byte of the last block handed out
# The success pauses come after the last byte (2 x 1000 ms for the ESC, 1000 ms
# for the box) and are not on the wire; the whole-process time less that of a
# `detect` in the same mode is shown against the bound plus those pauses.
#
# Lower bounds, at 0.5208 ms a byte:
#   flash-esc: 0xD6 x 4 with echoes and 0xD7, 0x39 and 0x31 with echo and reply;
#              every record (n bytes for a line of 2n-1 characters) with its echo
#              and one acknowledgement byte. kel-sim answers at once: no waits.
#   flash-box: 0xD6 x 3, each answered after kel-sim's 100 ms of quiet; 0xD7 /
#              0xD8 and 0xD6 / 0xD7 with echoes; every block (length field
#              included) with its echo and one status byte.
# "both ways" adds the PC's own bytes; the wire is full duplex and the box
# echoes as it receives, so "box to PC" (what kel-sim --pace spaces) is the
# tighter bound. The goal is a ratio of at most 1.05.
#
# Usage: bench/firmware-timing.sh [BUILD] [RUNS]     (defaults: ./build, 3)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
runs="${2:-3}"
kel_cli="$build/cli/kel-cli"
kel_sim="$build/sim/kel-sim"
# shellcheck source=bench/timing-lib.sh
. "$here/bench/timing-lib.sh"
build_targets "$build" kel-cli kel-sim

files=$(mktemp -d)
trap 'rm -rf "$files"' EXIT
"$kel_sim" --write-zrv "$files/esc.zrv" --size 32768
"$kel_sim" --write-xup "$files/box.xup" --size 32768

# Bytes of the exchange: "both box" (both directions, box to PC only).
zrv_bytes() {
    tr -d '\r' <"$1" | awk '{ n = int((length($0) + 1) / 2); both += 2 * n + 1; box += n + 1 }
        END { print both + 9 + 3 + 3, box + 5 + 2 + 2 }'
}
xup_bytes() {
    tr -d '\r\n' <"$1" | fold -w 2 | awk '
        BEGIN { for (i = 0; i < 16; ++i) digit[substr("0123456789ABCDEF", i + 1, 1)] = i }
        { b[NR - 1] = digit[substr($0, 1, 1)] * 16 + digit[substr($0, 2, 1)] }
        END {
            for (at = 0; at + 2 <= NR; at += size) {
                size = b[at] * 256 + b[at + 1] + 2
                both += 2 * size + 1; box += size + 1
            }
            print both + 3 * 3 + 3 + 3, box + 3 * 2 + 2 + 2
        }'
}

# Span from the first 0xD6 the PC sent to the last bytes handed to it.
span() {
    awk '$3 != "ms" { next }
        $4 == "from" && start == "" { for (i = 6; i <= NF; ++i) if ($i == "D6") { start = $2; break } }
        $4 == "to" { last = $2 }
        END { print last - start }' "$1"
}

measure() {  # measure KIND FILE DETECT-ARGS...: prints "span process-detect"
    local kind="$1" file="$2"; shift 2
    local flash detect flash_span
    sim_start --pace
    flash=$(timed_cli "$kind" "$file")
    sim_stop
    flash_span=$(span "$sim_log")
    rm -f "$sim_log" "$sim_log.cli"
    sim_start --pace  # a fresh one, so that its log holds the update alone
    detect=$(timed_cli detect "$@")
    sim_stop
    rm -f "$sim_log" "$sim_log.cli"
    echo "$flash_span $(( flash - detect ))"
}

printf '%-4s %14s %14s %14s %14s\n' run esc_span_ms "esc proc-det" box_span_ms "box proc-det"
results=$(mktemp)
for run in $(seq "$runs"); do
    read -r esc_span esc_diff < <(measure flash-esc "$files/esc.zrv")
    read -r box_span box_diff < <(measure flash-box "$files/box.xup" --as box)
    echo "$esc_span $esc_diff $box_span $box_diff" >>"$results"
    printf '%-4s %14s %14s %14s %14s\n' "$run" "$esc_span" "$esc_diff" "$box_span" "$box_diff"
done

read -r esc_both esc_box < <(zrv_bytes "$files/esc.zrv")
read -r box_both box_box < <(xup_bytes "$files/box.xup")
col() { cut -d' ' -f"$1" "$results" | median; }
awk -v b="$byte_ms" -v es="$(col 1)" -v ed="$(col 2)" -v bs="$(col 3)" -v bd="$(col 4)" \
    -v eb="$esc_both" -v ex="$esc_box" -v bb="$box_both" -v bx="$box_box" 'BEGIN {
    row = "%-30s %8.0f ms %9.0f ms %6.3f %10.0f ms %6.3f\n"
    printf "\n%-30s %11s %12s %6s %13s %6s\n", "median of the runs", "measured", "bound both", "ratio", "bound box>PC", "ratio"
    printf row, "flash-esc 32 KiB (wire span)", es, eb * b, es / (eb * b), ex * b, es / (ex * b)
    printf row, "flash-esc (process - detect)", ed, eb * b + 2000, ed / (eb * b + 2000), ex * b + 2000, ed / (ex * b + 2000)
    printf row, "flash-box 32 KiB (wire span)", bs, bb * b + 300, bs / (bb * b + 300), bx * b + 300, bs / (bx * b + 300)
    printf row, "flash-box (process - detect)", bd, bb * b + 1300, bd / (bb * b + 1300), bx * b + 1300, bd / (bx * b + 1300)
    printf "\nbytes on the wire: flash-esc %d both ways, %d box to PC; flash-box %d both ways, %d box to PC\n", eb, ex, bb, bx
}'
rm -f "$results"
