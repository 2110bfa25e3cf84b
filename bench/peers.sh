#!/usr/bin/env bash
# Times kelvaro-cli beside gnuplot and Kst on the same benchmark files, in one
# run: a PNG of every data column from launch, median wall time and peak
# memory, and each peer's time as a multiple of Kelvaro's. Run by hand (not
# by CI); installs gnuplot-nox and kst with apt-get when they are missing.
#   bench/peers.sh BIN_DIR
# KELVARO_BENCH_DATA, KELVARO_BENCH_ROWS and KELVARO_BENCH_RUNS as for run.sh.
set -euo pipefail
here=$(dirname "$0")
source "$here/measure.sh"
bench_settings "${1:-build-bench}" 3

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
missing=()
command -v gnuplot > /dev/null || missing+=(gnuplot-nox)
command -v kst2 > /dev/null || missing+=(kst)
if [ ${#missing[@]} -gt 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The files open with two command lines, a title and a header: 4 lines.
gnuplot_script() {
    cat << GNUPLOT
set terminal pngcairo size 800,500
set output '$work/gnuplot.png'
set datafile separator ';'
plot for [c=2:5] '$1' skip 4 using 1:c with lines notitle
GNUPLOT
}
# Kst's ASCII source splits at white space: it reads a copy of the file with
# the separators turned into blanks, made once and outside the timing.
kst_copy() {
    local copy="$data/kst-$(basename "$1")"
    [ -s "$copy" ] || tail -n +5 "$1" | tr ';' ' ' > "$copy"
    echo "$copy"
}

echo "| rows | Kelvaro | gnuplot | Kst | gnuplot / Kelvaro | Kst / Kelvaro |"
echo "|---|---|---|---|---|---|"
for rows in "${sizes[@]}"; do
    file=$(bench_file "$bin/kelvaro-bench-file" "$data" "$rows")
    measure "$runs" "$bin/kelvaro-cli" render "$file" -o "$work/kelvaro.png"
    kelvaro_s=$MEDIAN_S kelvaro_mib=$PEAK_MIB
    gnuplot_script "$file" > "$work/plot.gp"
    measure "$runs" gnuplot "$work/plot.gp"
    gnuplot_s=$MEDIAN_S gnuplot_mib=$PEAK_MIB
    copy=$(kst_copy "$file")
    measure "$runs" env XDG_CONFIG_HOME="$work/config" kst2 "$copy" -P plot -x 1 -y 2 -y 3 \
        -y 4 -y 5 --png "$work/kst.png"
    kst_s=$MEDIAN_S kst_mib=$PEAK_MIB
    ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
    echo "| $rows | $kelvaro_s s, $kelvaro_mib MiB | $gnuplot_s s, $gnuplot_mib MiB" \
         "| $kst_s s, $kst_mib MiB | $(ratio "$gnuplot_s" "$kelvaro_s")" \
         "| $(ratio "$kst_s" "$kelvaro_s") |"
done
