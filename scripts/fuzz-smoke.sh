#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ (address and undefined-behaviour
# sanitizers on) and runs each for a while on a copy of its seed corpus.
# Fails when any target crashes, leaks, hangs or breaks one of its checks.
#
# Usage: scripts/fuzz-smoke.sh [seconds-per-target] [target ...]
#   seconds: first argument, else $KEL_FUZZ_SECONDS, else 30
#   targets: default all (profile settings_reply number_text zrv xup firmware_check user_file)
#   build folder: $KEL_FUZZ_BUILD, else build-fuzz in the checkout
# A crashing input is kept in <build>/fuzz-artifacts/; replay it with
#   <build>/tests/fuzz/fuzz_<target> FILE
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

seconds="${1:-${KEL_FUZZ_SECONDS:-30}}"
shift || true
if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "fuzz-smoke: seconds must be a positive whole number, not '$seconds'" >&2
    exit 2
fi
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(profile settings_reply number_text zrv xup firmware_check user_file)
build="${KEL_FUZZ_BUILD:-$here/build-fuzz}"

"$here/scripts/install-deps.sh" clang libclang-rt-14-dev

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKEL_FUZZ=ON -DKEL_SANITIZE=ON -DKEL_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
runs="$build/fuzz-runs"
artifacts="$build/fuzz-artifacts"
mkdir -p "$runs" "$artifacts"

# One target's run, its exit status written beside its log.
fuzz_one() {
    local target="$1" work="$runs/$1" status=0
    rm -rf "$work"
    mkdir -p "$work/corpus"
    cp -R "$here/tests/fuzz/corpus/$target/." "$work/corpus/"
    "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts/$target-" "$work/corpus" >"$work/log" 2>&1 || status=$?
    echo "$status" >"$work/status"
}

# The targets run side by side, one per core: each is single-threaded.
parallel="$(nproc)"
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n || true; done
    echo "== fuzz_$target for ${seconds}s"
    fuzz_one "$target" &
done
wait

summary=()
failed=()
for target in "${targets[@]}"; do
    work="$runs/$target"
    status="$(cat "$work/status" 2>/dev/null || echo 1)"
    execs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)"
    coverage="$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$work/log" | tail -1 || true)"
    summary+=("$(printf '%-16s %-8s execs=%-10s %s' "$target" "$([ "$status" -eq 0 ] && echo ok || echo FAILED)" \
        "${execs:-?}" "${coverage:-no stats}")")
    if [ "$status" -ne 0 ]; then
        failed+=("$target")
        tail -n 60 "$work/log" >&2
    fi
done

echo "== fuzz smoke: ${seconds}s per target"
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz smoke FAILED: ${failed[*]} (inputs in $artifacts)" >&2
    exit 1
fi
echo "fuzz smoke passed: ${#targets[@]} targets, no crash"
