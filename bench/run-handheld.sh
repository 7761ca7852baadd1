#!/usr/bin/env bash
# Builds the native benchmark and prints the handheld exchange's figures: take-over of a backup
# of 10,000 records into a year file of 100,000 lines, and building "Zeiten.PDB" from a year
# file of 100,000 lines; each step three times, time and peak memory of its process.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/build.sh" native bench_handheld
bench="$top/build/native/bin/bench_handheld"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" prepare "$work"
for step in take-over build-times; do
    for _ in 1 2 3; do "$bench" "$step" "$work"; done
done
