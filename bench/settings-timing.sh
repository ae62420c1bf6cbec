#!/usr/bin/env bash
# Time of the settings write and the settings read of kel-cli against
# kel-sim --pace (19200 baud 8N1 on the simulated wire), against their lower
# bound: the protocol's own sleeps and waits plus the wire time of every byte.
#
# Method. One `kel-cli write "Power Level=Level 3"` per run (it connects, reads
# the settings, then writes all 21 pairs). The exchanges are measured on
# kel-sim's byte log, which stamps every byte as it passes (see timing-lib.sh),
# so process start-up and opening the port do not count:
#   read  = first wake-up 0xD5 received .. first pair received
#           (3 x 0xD5/"&", 0xD8 and its 24 bytes, then the 150 ms busy wait)
#   write = first pair received .. the reply to 0xDF handed out
#           (21 pairs, 10 ms after each, 500 ms "SUCCESSED" pause, 0xDF)
# As a cross-check the whole-process time of `write` less that of `detect`
# (same start-up, connection and read) is shown for the write.
#
# Lower bounds, at 0.5208 ms a byte:
#   read : 150 ms + 35 bytes (3 x (0xD5, echo, "&") + 0xD8, echo, 24 reply bytes)
#   write: 21 x (10 ms + 6 bytes: pair, its echo, 0x01 0x01) + 500 ms + 3 bytes (0xDF, echo, 0x01)
# "both ways" adds the PC's own bytes; the wire is full duplex and the box
# echoes as it receives, so "box to PC" (what kel-sim --pace spaces: echoes
# and replies) is the tighter bound. The goal is a ratio of at most 1.05.
#
# With --trace every kel-cli run records the exchange (kel-cli --trace) into a
# temporary file: its ratios should stay within 1 % of those without.
#
# Usage: bench/settings-timing.sh [BUILD] [RUNS] [--trace]     (defaults: ./build, 5)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
runs="${2:-5}"
kel_cli="$build/cli/kel-cli"
kel_sim="$build/sim/kel-sim"
cli_options=()
if [ "${3:-}" = "--trace" ]; then
    trace_file=$(mktemp)
    trap 'rm -f "$trace_file"' EXIT
    cli_options=(--trace "$trace_file")
fi
# shellcheck source=bench/timing-lib.sh
. "$here/bench/timing-lib.sh"
build_targets "$build" kel-cli kel-sim

spans() {
    awk '
        $3 != "ms" { next }
        $4 == "from" {
            for (i = 6; i <= NF; ++i) {
                ++sent
                if (sent == 4 && read_start == "") read_start = $2
                if ($i == "E1" && write_start == "") write_start = $2
                if ($i == "DF" && write_start != "") df = 1
            }
            next
        }
        $4 == "to" && df && write_end == "" { write_end = $2 }
        END { print write_start - read_start, write_end - write_start }
    ' "$1"
}

printf '%-4s %10s %10s %14s\n' run read_ms write_ms "write-detect"
results=$(mktemp)
for run in $(seq "$runs"); do
    sim_start --pace
    write_process=$(timed_cli write "Power Level=Level 3")
    detect_process=$(timed_cli detect)
    sim_stop
    read -r read_ms write_ms < <(spans "$sim_log")
    rm -f "$sim_log" "$sim_log.cli"
    echo "$read_ms $write_ms $(( write_process - detect_process ))" >>"$results"
    printf '%-4s %10s %10s %14s\n' "$run" "$read_ms" "$write_ms" "$(( write_process - detect_process ))"
done

read_median=$(cut -d' ' -f1 "$results" | median)
write_median=$(cut -d' ' -f2 "$results" | median)
diff_median=$(cut -d' ' -f3 "$results" | median)
rm -f "$results"
awk -v b="$byte_ms" -v r="$read_median" -v w="$write_median" -v d="$diff_median" 'BEGIN {
    read_both = 150 + 35 * b;  read_box = 150 + 31 * b
    write_both = 21 * (10 + 6 * b) + 500 + 3 * b;  write_box = 21 * (10 + 4 * b) + 500 + 2 * b
    printf "\n%-24s %9s %12s %7s %12s %7s\n", "median of the runs", "measured", "bound both", "ratio", "bound box>PC", "ratio"
    printf "%-24s %7.1f ms %9.1f ms %7.3f %9.1f ms %7.3f\n", "settings read", r, read_both, r / read_both, read_box, r / read_box
    printf "%-24s %7.1f ms %9.1f ms %7.3f %9.1f ms %7.3f\n", "settings write", w, write_both, w / write_both, write_box, w / write_box
    printf "%-24s %7.1f ms %9.1f ms %7.3f %9.1f ms %7.3f\n", "write (process - detect)", d, write_both, d / write_both, write_box, d / write_box
}'
