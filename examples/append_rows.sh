#!/bin/sh
# Makes a live file to watch in Kelvaro: copies pump_test.txt to OUT with
# "Timer=500" in front, then appends a row every half second until stopped.
#   examples/append_rows.sh OUT [ROWS]     (ROWS: how many to append, default 600)
set -eu
out=${1:?usage: append_rows.sh OUT [ROWS]}
rows=${2:-600}
here=$(dirname "$0")
{ echo "Timer=500"; cat "$here/pump_test.txt"; } > "$out"
# Continue the table from its last X value, half a minute a row.
last=$(tail -n 1 "$out" | cut -d ';' -f 1)
i=1
while [ "$i" -le "$rows" ]; do
    awk -v x="$last" -v i="$i" 'BEGIN {
        t = x + 0.5 * i
        u = t - x
        printf "%g;%.3f;%.2f;%.3f\n", t, 2.01 + 0.3 * sin(u / 4), 15.99 + 2 * sin(u / 6), 3.55 - 0.01 * u
    }' >> "$out"
    i=$((i + 1))
    sleep 0.5
done
