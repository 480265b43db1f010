#!/bin/bash
# Fuzzes one target for a while: run_fuzzer.sh FUZZER CORPUS WORK SECONDS.
# New inputs go to WORK/new/, crash files to WORK/ (named crash-*, leak-*, timeout-*); the
# seed corpus is only read. Exits non-zero when the fuzzer finds anything.
set -eu
fuzzer=$1 corpus=$2 work=$3 seconds=$4
mkdir -p "$work/new"
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/" "$work/new" "$corpus"
