#!/usr/bin/env bash
# Runs the benchmarks against a generated 1,000,000-row file.
#   bench/run.sh BUILD_DIR
set -euo pipefail
build=${1:-build-bench}
data="$build/bench-data"
mkdir -p "$data"
big="$data/rows-1000000.txt"
[ -f "$big" ] || "$build/kelvaro-bench-file" 1000000 "$big"
ls -l "$big"

measure() { # label, command...
    local label=$1; shift
    /usr/bin/time -f "$label: %e s wall, %M KB peak" "$@" > /dev/null
}

measure "kelvaro-cli info (1,000,000 rows)" "$build/kelvaro-cli" info "$big"
"$build/kelvaro-bench-load" "$big"

# The derived files, end to end (load included) and alone (load excluded).
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
big_abs=$(realpath "$big")
bin=$(realpath "$build")
(cd "$work" && measure "kelvaro-cli interpolate (1,000,000 rows)" "$bin/kelvaro-cli" interpolate "$big_abs")
(cd "$work" && measure "kelvaro-cli correlate (1,000,000 rows)" "$bin/kelvaro-cli" correlate "$big_abs")
(cd "$work" && KELVARO_BENCH_FILE="$big_abs" "$bin/kelvaro-bench-analysis")

"$build/kelvaro-bench-render" "$big"
"$build/kelvaro-bench-open" "$big"
measure "kelvaro-cli render 800x500 PNG (1,000,000 rows, load included)" \
    "$build/kelvaro-cli" render "$big" -o "$data/render.png"
