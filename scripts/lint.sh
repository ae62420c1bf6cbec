#!/usr/bin/env bash
# Style and static checks.
#   clang-format: every C++ file of the tree must be formatted as .clang-format says.
#   clang-tidy:   the checks in .clang-tidy, on the C++ files a change touches
#                 (a changed header brings in the .cpp of the same name).
# Usage: scripts/lint.sh BUILD_DIR [BASE]
#   BUILD_DIR  a configured build folder (it has compile_commands.json)
#   BASE       the commit the change is measured from; default: the merge base
#              with origin/main when that differs from HEAD, else HEAD~1
# Format a file in place with: clang-format -i FILE
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:?usage: scripts/lint.sh BUILD_DIR [BASE]}"
cd "$here"
"$here/scripts/install-deps.sh" clang-format clang-tidy

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
echo "== clang-format: ${#sources[@]} files"
clang-format --dry-run -Werror "${sources[@]}"

base="${2:-}"
if [ -z "$base" ]; then
    base="$(git merge-base HEAD origin/main 2>/dev/null || true)"
    if [ -z "$base" ] || [ "$base" = "$(git rev-parse HEAD)" ]; then
        base="$(git rev-parse --verify -q HEAD~1 || git hash-object -t tree /dev/null)"
    fi
fi

# The files the build compiles on this platform (the Windows-only ones are not in
# compile_commands.json here) and that a change since BASE touched.
mapfile -t compiled < <(python3 -c 'import json,sys; [print(e["file"]) for e in json.load(open(sys.argv[1]))]' \
    "$build/compile_commands.json" | sort -u)
declare -A wanted=()
while read -r f; do
    [ -n "$f" ] || continue
    case "$f" in
        *.cpp) wanted["$here/$f"]=1 ;;
        *.h) wanted["$here/${f%.h}.cpp"]=1 ;;
    esac
done < <(git diff --name-only --diff-filter=d "$base" -- '*.cpp' '*.h')
targets=()
for f in "${compiled[@]}"; do
    [ -n "${wanted[$f]:-}" ] && targets+=("$f")
done

echo "== clang-tidy: ${#targets[@]} changed files since ${base:0:10}"
[ ${#targets[@]} -eq 0 ] && exit 0
# The test programs precompile their headers with GCC, whose .gch files clang
# cannot read: clang-tidy gets the same commands without them.
tidy="$build/clang-tidy"
mkdir -p "$tidy"
python3 - "$build/compile_commands.json" "$tidy/compile_commands.json" <<'EOF'
import json, re, sys
commands = json.load(open(sys.argv[1]))
for c in commands:
    c["command"] = re.sub(r" -include \S*cmake_pch\.hxx| -Winvalid-pch", "", c["command"])
json.dump(commands, open(sys.argv[2], "w"), indent=1)
EOF
# grep -v fails when it keeps no line, which is what clean files give.
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -n 4 clang-tidy -p "$tidy" --quiet 2>&1 \
    | { grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' || true; } \
    | tee "$build/clang-tidy.log"
! grep -q -E '(warning|error): ' "$build/clang-tidy.log"
