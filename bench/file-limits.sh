#!/usr/bin/env bash
# Peak memory and time of kel-cli on firmware and profile files no real one
# resembles: a 100 MB .zrv, a 50 MB .xup, a 10 MB line, a FIFO, a link to
# /dev/zero, and the largest files still read. Each is run under /usr/bin/time -v; `check` offline, and
# flash-esc / flash-box against kel-sim (the refusal comes before any update
# byte). The goal: every one refused, in well under a second, below 50 MB.
#
# Usage: bench/file-limits.sh [BUILD]     (default ./build)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh" time bc python3
build="$(cd "${1:-$here/build}" && pwd)"
cli="$build/cli/kel-cli"
sim="$build/sim/kel-sim"
work="$(mktemp -d)"
simpid=""
cleanup() {
    [ -n "$simpid" ] && kill "$simpid" 2>/dev/null && wait "$simpid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# 100 MB of well-formed records, 50 MB of hex digits, one 10 MB line.
python3 - "$work" <<'PY'
import sys, pathlib
w = pathlib.Path(sys.argv[1])
line = b":10000000000102030405060708090A0B0C0D0E0F78\r\n"
with open(w / "big.zrv", "wb") as f:
    block = line * 100_000
    for _ in range(100 * 1024 * 1024 // len(block) + 1):
        f.write(block)
(w / "big.xup").write_bytes(b"0" * (50 * 1024 * 1024))
(w / "long-line.zrv").write_bytes(b":" + b"0" * (10 * 1024 * 1024) + b"\r\n")
# The largest files still read: 3,801,373 bytes of .zrv, 131,074 of .xup.
(w / "largest.zrv").write_bytes(line * (3_801_373 // len(line)))
(w / "largest.xup").write_bytes(b"0" * 131_072 + b"\r\n")
PY
mkfifo "$work/fifo.zrv"
ln -s /dev/zero "$work/zero.zrv"

"$sim" >"$work/sim.out" 2>/dev/null &
simpid=$!
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
port="$(head -n1 "$work/sim.out")"

measure() {  # label, then the kel-cli arguments
    local label="$1"; shift
    local status=0
    /usr/bin/time -v "$cli" "$@" >/dev/null 2>"$work/time.txt" || status=$?
    local rss elapsed
    rss="$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt")"
    elapsed="$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")"
    printf '%-30s exit %d  peak %6.1f MB  %s\n' "$label" "$status" "$(echo "$rss / 1024" | bc -l)" "$elapsed"
}

printf '%-30s %s\n' "file and command" "result"
measure "check 100 MB .zrv" check "$work/big.zrv"
measure "check 50 MB .xup" check "$work/big.xup"
measure "check 10 MB line .zrv" check "$work/long-line.zrv"
measure "check largest .zrv read" check "$work/largest.zrv"
measure "check largest .xup read" check "$work/largest.xup"
measure "check FIFO" check "$work/fifo.zrv"
measure "check link to /dev/zero" check "$work/zero.zrv"
measure "profile show FIFO" profile show "$work/fifo.zrv"
measure "flash-esc 100 MB .zrv" --port "$port" flash-esc "$work/big.zrv"
measure "flash-esc FIFO" --port "$port" flash-esc "$work/fifo.zrv"
measure "flash-box 50 MB .xup" --port "$port" flash-box "$work/big.xup"
measure "detect (for comparison)" --port "$port" detect
