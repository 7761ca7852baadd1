#!/usr/bin/env bash
# Measures kxcli verify, the check of a year file's lines, on a year of 1,000,000 bookings (the
# bookings given as the first argument instead) next to `wc -l` on the same file in the same run,
# each the median of several runs taken in turn. A year holds 527,040 minutes, so such a year has
# several hundred thousand lines of a moment taken already: the figure includes printing those
# findings. Prints both figures, their ratio and the number of findings; the target is at most
# 3x `wc -l`.
# usage: bench/run-check.sh [BOOKINGS]   (KX_BENCH_RUNS runs per figure, default 7)
set -euo pipefail
# shellcheck source=bench_year.sh
source "$(dirname "$0")/bench_year.sh"
bench_year check "2025-01-15 12:00" "${1:-}"
findings=$("${kx[@]}" verify 2024 | wc -l || true)
mapfile -t figures < <("$bin/run_measured" "$runs" wc -l "$dir/2024.txt" -- "${kx[@]}" verify 2024)
wc_ms=${figures[0]% *} check_ms=${figures[1]% *}
printf '%-9s %6s %8s %14s %9s %9s\n' bookings MB "wc -l" "verify" findings "peak KB"
printf '%-9s %6s %8s %14s %9s %9s\n' "" "" ms "ms (x wc -l)" "" kxcli
printf '%-9s %6s %8s %14s %9s %9s\n' "$bookings" \
    "$(awk -v s="$(stat -c %s "$dir/2024.txt")" 'BEGIN { printf "%.1f", s / 1e6 }')" "$wc_ms" \
    "$check_ms ($(awk -v a="$check_ms" -v b="$wc_ms" 'BEGIN { printf "%.1f", a / b }'))" \
    "$findings" "${figures[1]#* }"
echo "median of $runs runs, taken in turn"
