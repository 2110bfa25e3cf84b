#!/usr/bin/env bash
# Runs the fuzz target of BUILD for SECONDS on the seeds (fuzz/seeds and
# examples/); new inputs gather in BUILD/fuzz-corpus, findings in
# BUILD/fuzz-findings. Exits non-zero when a finding was made.
set -euo pipefail
seconds=${2:-600}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "${1:-build-fuzz}/fuzz-corpus" "${1:-build-fuzz}/fuzz-findings"
# Absolute: the target works in a directory of its own.
build=$(cd "${1:-build-fuzz}" && pwd)
exec "$build/kelvaro-fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=20 \
  -rss_limit_mb=2560 -dict="$here/kelvaro.dict" -artifact_prefix="$build/fuzz-findings/" \
  -print_final_stats=1 "$build/fuzz-corpus" "$here/seeds" "$here/../examples"
