#!/usr/bin/env bash
# Builds the native release benchmarks and prints the journal's figures.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" native bench_journal
"$top/build/native/bin/bench_journal" "${1:-/tmp/kx-bench-journal}"
