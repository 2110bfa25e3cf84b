#!/usr/bin/env bash
# The figures of Kelvaro at 1,000,000 and 10,000,000 rows, printed as one
# Markdown table: load only, PNG from launch (each with its peak memory) and
# the repaint of a loaded 800 x 500 diagram, also on a screen scaled by 2. Times are medians of repeated runs.
# Then the statistics of half the rows and their summaries, and the batch
# tool's statistics against its load alone.
#   bench/run.sh BIN_DIR
# BIN_DIR holds kelvaro-cli, kelvaro-bench-file, kelvaro-bench-render and
# kelvaro-bench-statistics (a build directory). The generated files (about 35 MB and 360 MB) are made once
# and reused from KELVARO_BENCH_DATA (default BIN_DIR/bench-data).
# KELVARO_BENCH_ROWS and KELVARO_BENCH_RUNS change the sizes and repetitions;
# KELVARO_BENCH_100M=1 adds the file of 100,000,000 rows (3.7 GB).
set -euo pipefail
here=$(dirname "$0")
source "$here/measure.sh"
bench_settings "${1:-build-bench}" 5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The median repaint in milliseconds of the loaded file, from the render
# benchmark's own repetitions: file, benchmark (default BM_PaintIntoImage).
repaint_ms() {
    local name=${2:-BM_PaintIntoImage}
    "$bin/kelvaro-bench-render" "$1" --benchmark_filter="^$name\$" \
        --benchmark_repetitions="$runs" --benchmark_report_aggregates_only=true \
        --benchmark_format=csv 2> /dev/null |
        awk -F, -v name="$name" '$1 ~ /_median"?$/ { median = $3 } $1 == name || $1 == "\"" name "\"" { one = $3 }
                 END { printf "%.1f", median != "" ? median : one }'
}

load=() png=() repaint=() repaint2=() header="| work |" rule="|---|"
for rows in "${sizes[@]}"; do
    file=$(bench_file "$bin/kelvaro-bench-file" "$data" "$rows")
    size_mb=$(( $(stat -c %s "$file") / 1000000 ))
    header+=" $rows rows ($size_mb MB) |"
    rule+="---|"
    measure "$runs" "$bin/kelvaro-cli" info "$file"
    load+=("$MEDIAN_S s, $PEAK_MIB MiB")
    measure "$runs" "$bin/kelvaro-cli" render "$file" -o "$work/picture.png"
    png+=("$MEDIAN_S s, $PEAK_MIB MiB")
    repaint+=("$(repaint_ms "$file") ms")
    repaint2+=("$(repaint_ms "$file" BM_PaintIntoImageAtRatio/200) ms")
done

row() { # label, cells...
    local line="| $1 |"; shift
    for cell in "$@"; do line+=" $cell |"; done
    echo "$line"
}
echo "$header"
echo "$rule"
row 'load only (`kelvaro-cli info`): median, peak' "${load[@]}"
row 'PNG 800x500 from launch (`kelvaro-cli render`): median, peak' "${png[@]}"
row 'repaint of a loaded diagram, 800x500: median' "${repaint[@]}"
row 'the same on a screen scaled by 2 (1600x1000 device pixels): median' "${repaint2[@]}"

# The viewer: opening each file until its window has painted (with the
# longest time the interface thread was busy meanwhile), a cancel during the
# read and a window repaint; at 1,000,000 rows also a marker step and a curve
# readout.
for rows in "${sizes[@]}"; do
    file=$(bench_file "$bin/kelvaro-bench-file" "$data" "$rows")
    if [ -x "$bin/kelvaro-bench-open" ]; then
        echo
        echo "viewer, $rows rows:"
        "$bin/kelvaro-bench-open" "$file" 2> /dev/null
    fi
done
viewer_file=$(bench_file "$bin/kelvaro-bench-file" "$data" 1000000)
if [ -x "$bin/kelvaro-bench-interaction" ]; then
    echo
    "$bin/kelvaro-bench-interaction" "$viewer_file" 2> /dev/null
fi

# The statistics of one curve over half the rows (median and longest query),
# the summaries' bytes per cell and what preparing them adds to a load.
for rows in "${sizes[@]}"; do
    file=$(bench_file "$bin/kelvaro-bench-file" "$data" "$rows")
    echo
    echo "range statistics, $rows rows:"
    "$bin/kelvaro-bench-statistics" "$file" 2> /dev/null
done

# `kelvaro-cli stats` from launch against the load alone at 10,000,000 rows:
# the statistics should add at most 50 ms. (Asked for help on a command it
# lacks, the tool prints its own help, whose usage line names no command.)
echo
stats_help=$("$bin/kelvaro-cli" stats --help 2> /dev/null || true)
if [[ $stats_help == *"kelvaro-cli stats"* ]]; then
    stats_file=$(bench_file "$bin/kelvaro-bench-file" "$data" 10000000)
    measure "$runs" "$bin/kelvaro-cli" info "$stats_file"
    info_s=$MEDIAN_S
    measure "$runs" "$bin/kelvaro-cli" stats "$stats_file"
    awk -v info="$info_s" -v stats="$MEDIAN_S" 'BEGIN {
        printf "stats from launch, 10000000 rows: %.3f s against the load alone %.3f s (%+.0f ms)\n",
               stats, info, (stats - info) * 1000 }'
else
    echo "stats from launch: skipped, this kelvaro-cli has no stats command"
fi
