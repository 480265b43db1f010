#!/bin/bash
# Fuzzes one target for a while: run_fuzzer.sh FUZZER CORPUS WORK SECONDS [RUNS].
# New inputs go to WORK/new/, crash files to WORK/ (named crash-*, leak-*, timeout-*); the
# seed corpus is only read. Exits non-zero when the fuzzer finds anything.
#
# With RUNS (the test suite's runs) the fuzzing is repeatable: a fixed seed, RUNS inputs from
# a fresh start, SECONDS only as a ceiling, so a pass or a failure is the same on every run
# of the same code. Without it (make fuzz-run) every run explores anew.
set -eu
fuzzer=$1 corpus=$2 work=$3 seconds=$4 runs=${5:-}
repeatable=()
if [ -n "$runs" ]; then
    rm -rf "$work/new"
    repeatable=(-seed=1 -runs="$runs")
fi
mkdir -p "$work/new"
exec "$fuzzer" "${repeatable[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/" "$work/new" "$corpus"
