#!/usr/bin/env bash
# A longer fuzzing run: every fuzzer of the fuzz build for MINUTES minutes each (default 10), from
# its seed corpus and what earlier runs found; prints the runs per second of each. Any crash,
# overrun or leak fails the run.
# usage: scripts/fuzz.sh [MINUTES]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:-10}
"$top/scripts/build.sh" fuzz
KX_FUZZ_SECONDS=$((minutes * 60)) exec "$top/scripts/fuzz-smoke.sh"
