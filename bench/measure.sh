# Shell helpers shared by bench/run.sh and bench/peers.sh: the median wall time
# of repeated runs of a command and the largest peak memory among them.
#   source bench/measure.sh
#   measure RUNS command...   sets MEDIAN_S (seconds) and PEAK_MIB

measure() {
    local runs=$1; shift
    local times=() peak=0 memfile start end kb
    memfile=$(mktemp)
    for ((run = 0; run < runs; ++run)); do
        start=$(date +%s%N)
        if ! /usr/bin/time -f %M -o "$memfile" "$@" > /dev/null 2>&1; then
            echo "failed: $*" >&2
            rm -f "$memfile"
            return 1
        fi
        end=$(date +%s%N)
        times+=($(( (end - start) / 1000000 )))
        kb=$(tail -n 1 "$memfile")
        (( kb > peak )) && peak=$kb
    done
    rm -f "$memfile"
    local sorted
    sorted=($(printf '%s\n' "${times[@]}" | sort -n))
    MEDIAN_S=$(awk -v ms="${sorted[$(( runs / 2 ))]}" 'BEGIN { printf "%.3f", ms / 1000 }')
    PEAK_MIB=$(( peak / 1024 ))
}

# The benchmark files: N rows each, made once by kelvaro-bench-file and reused.
#   bench_file GENERATOR DIR ROWS   prints the path
bench_file() {
    local path="$2/rows-$3.txt"
    mkdir -p "$2"
    [ -s "$path" ] || "$1" "$3" "$path" >&2
    echo "$path"
}

# The settings of both scripts: bin (BIN_DIR, the first argument), data
# (KELVARO_BENCH_DATA, default BIN_DIR/bench-data), sizes (KELVARO_BENCH_ROWS,
# plus 100,000,000 rows with KELVARO_BENCH_100M=1) and runs (KELVARO_BENCH_RUNS,
# default the second argument).
bench_settings() {
    bin=$(realpath "${1:-build-bench}")
    data=${KELVARO_BENCH_DATA:-$bin/bench-data}
    sizes=(${KELVARO_BENCH_ROWS:-1000000 10000000})
    # The 100,000,000-row file (3.7 GB, minutes to make and read) only when asked.
    if [ "${KELVARO_BENCH_100M:-0}" = 1 ]; then
        sizes+=(100000000)
    fi
    runs=${KELVARO_BENCH_RUNS:-$2}
    export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
}
