# shellcheck shell=bash disable=SC2034,SC2154
# (Set here and used by the callers: byte_ms; set by the callers: here, kel_cli, kel_sim,
# optionally cli_options: options given to every kel-cli run.)
# Helpers of bench/settings-timing.sh and bench/firmware-timing.sh (sourced).
# kel-sim --verbose logs every byte with the milliseconds since it started:
#   kel-sim: 995 ms from PC: E1 00
#   kel-sim: 996 ms to PC: E1 00 01 01
# "from PC" is stamped when kel-sim reads the bytes, "to PC" when it hands
# them to the terminal (with --pace, once the last of them is through the
# wire), so the span between two log lines is what the exchange took inside
# kel-cli plus the wire, without process start-up or port opening.

byte_ms=0.520833  # one byte at 19200 baud 8N1: 10 bits

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# build_targets BUILD TARGET...: configures BUILD if needed and builds the targets.
build_targets() {
    local build="$1"; shift
    [ -f "$build/build.ninja" ] || cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j 2 --target "$@" >/dev/null
}

# sim_start ARGS...: starts kel-sim --verbose; sets sim_pid, sim_port, sim_log.
sim_start() {
    sim_log=$(mktemp)
    local out; out=$(mktemp)
    "$kel_sim" --verbose "$@" >"$out" 2>"$sim_log" &
    sim_pid=$!
    for _ in $(seq 100); do [ -s "$out" ] && break; sleep 0.02; done
    sim_port=$(head -1 "$out")
    rm -f "$out"
    [ -n "$sim_port" ] || { echo "kel-sim did not start" >&2; exit 1; }
}

sim_stop() {
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
}

# timed_cli ARGS...: runs kel-cli on the simulator's port; prints its wall ms.
# Fails the bench when kel-cli does.
timed_cli() {
    local start end
    start=$(now_ms)
    if ! "$kel_cli" --port "$sim_port" ${cli_options[@]+"${cli_options[@]}"} "$@" >/dev/null 2>"$sim_log.cli"; then
        echo "kel-cli $* failed:" >&2; cat "$sim_log.cli" >&2; exit 1
    fi
    end=$(now_ms)
    echo $(( end - start ))
}

# median of the numbers on standard input
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
