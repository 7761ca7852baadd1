#!/usr/bin/env bash
# Measures kxcli's monthly timesheet on a year file of 1,000,000 bookings (the bookings given as
# the first argument instead): the December sheet, whose balance runs from 1 January and so takes
# in the whole year, next to `wc -l` on the same file in the same run, each the median of several
# runs taken in turn. Prints both figures and their ratio; the target is at most 3x `wc -l`.
# usage: bench/run-timesheet.sh [BOOKINGS]   (KX_BENCH_RUNS runs per figure, default 7)
set -euo pipefail
# shellcheck source=bench_year.sh
source "$(dirname "$0")/bench_year.sh"
bench_year timesheet "2025-01-15 12:00" "${1:-}"
mapfile -t figures < <("$bin/run_measured" "$runs" wc -l "$dir/2024.txt" \
    -- "${kx[@]}" month 2024 12 \
    -- "${kx[@]}" month 2024 12 --table)
wc_ms=${figures[0]% *} sheet_ms=${figures[1]% *} table_ms=${figures[2]% *}
printf '%-9s %6s %8s %14s %14s %9s\n' bookings MB "wc -l" "month" "month --table" "peak KB"
printf '%-9s %6s %8s %14s %14s %9s\n' "" "" ms "ms (x wc -l)" "ms (x wc -l)" kxcli
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
printf '%-9s %6s %8s %14s %14s %9s\n' "$bookings" \
    "$(awk -v s="$(stat -c %s "$dir/2024.txt")" 'BEGIN { printf "%.1f", s / 1e6 }')" "$wc_ms" \
    "$sheet_ms ($(ratio "$sheet_ms" "$wc_ms"))" "$table_ms ($(ratio "$table_ms" "$wc_ms"))" \
    "${figures[1]#* }"
echo "median of $runs runs, taken in turn"
