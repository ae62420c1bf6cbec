#!/bin/sh
# Lines of tests against lines of code, the ratio the project keeps between
# about 0.25 and 0.45.
set -eu

usage() {
    cat <<'EOF2'
Usage: scripts/test-ratio.sh [-v]

Counts every line (blank ones too) of the files git tracks: tests are the
*.cpp *.h *.hpp *.py *.sh files under tests/, code the *.cpp *.h *.hpp files
outside tests/ and bench/. Only tracked files count, so build folders, .git
and generated files stay out. Prints test lines, code lines and tests / code.

  -v   also print the count per top-level folder
EOF2
}

verbose=0
case "${1:-}" in
    -h|--help) usage; exit 0 ;;
    -v) verbose=1 ;;
    "") ;;
    *) usage >&2; exit 2 ;;
esac

cd "$(dirname "$0")/.."

# One line per counted file: "<lines> <path>".
git ls-files | while IFS= read -r f; do
    [ -f "$f" ] || continue
    case "$f" in
        tests/*.cpp|tests/*.h|tests/*.hpp|tests/*.py|tests/*.sh) ;;
        tests/*|bench/*) continue ;;
        *.cpp|*.h|*.hpp) ;;
        *) continue ;;
    esac
    printf '%s %s\n' "$(wc -l <"$f")" "$f"
done | awk -v verbose="$verbose" '
    { folder = $2; sub(/\/.*/, "", folder); if ($2 !~ /\//) folder = "."
      if ($2 ~ /^tests\//) tests += $1; else code += $1
      per[folder] += $1 }
    END {
        if (verbose) for (f in per) printf "%-12s %6d\n", f, per[f] | "sort"
        if (verbose) close("sort")
        printf "tests %d lines, code %d lines, ratio %.2f\n", tests, code, code ? tests / code : 0
    }'
