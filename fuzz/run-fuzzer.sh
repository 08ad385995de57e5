#!/bin/sh
# Runs one fuzz target for a bounded time: fuzzer corpus-dir seed-dir seconds
set -eu
fuzzer=$1 corpus=$2 seeds=$3 seconds=$4
mkdir -p "$corpus"
if [ -d "$seeds" ]; then cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true; fi
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$corpus"
