#!/usr/bin/env bash
# Runs every fuzzer of the fuzz build for a short while (KX_FUZZ_SECONDS, default 20) from its
# seed corpus; any crash, overrun or leak fails the run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${KX_FUZZ_SECONDS:-20}
# The reports zero-fill a fresh 50 KB block per copy text; a smaller quarantine of freed blocks
# (still many runs deep) lets the sanitizer reuse their pages instead of faulting new ones in.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
status=0
for fuzzer in "$top"/build/fuzz/bin/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus="$top/build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    seeds="$top/tests/fuzz/seeds/${name#fuzz_}"
    [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
    echo "fuzz: $name for ${seconds}s"
    if ! "$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$corpus" \
        >"$top/build/fuzz/$name.log" 2>&1; then
        tail -40 "$top/build/fuzz/$name.log"
        status=1
    else
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$top/build/fuzz/$name.log")
        echo "fuzz: $name: ${runs:-0} runs, $(( ${runs:-0} / seconds )) runs/s"
    fi
done
exit $status
