#!/usr/bin/env bash
# Measures kxcli's day commands on a year file of 1,000,000 bookings (the bookings given as the
# first argument instead): a day listed, one booking inserted in the middle of the year (the whole
# file rewritten through the temporary-file replace) and removed again, next to `wc -l` on the
# same file in the same run, each the median of several runs taken in turn.
# usage: bench/run-day.sh [BOOKINGS]   (KX_BENCH_RUNS runs per figure, default 7)
set -euo pipefail
# shellcheck source=bench_year.sh
source "$(dirname "$0")/bench_year.sh"
bench_year day "2024-12-31 12:00" "${1:-}"
# The day's copy is made by the first change: made here, so that no run measures it.
"${kx[@]}" insert 2024-06-14 12:34 BENCH >/dev/null && "${kx[@]}" remove 2024-06-14 12:34 BENCH
mapfile -t figures < <("$bin/run_measured" "$runs" wc -l "$dir/2024.txt" \
    -- "${kx[@]}" day 2024-06-14 \
    -- "${kx[@]}" insert 2024-06-14 12:34 BENCH \
    -- "${kx[@]}" remove 2024-06-14 12:34 BENCH)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }
wc_ms=${figures[0]% *}
printf '%-9s %6s %8s %14s %14s %14s\n' bookings MB "wc -l" day insert remove
printf '%-9s %6s %8s %14s %14s %14s\n' "" "" ms "ms (x wc -l)" "ms (x wc -l)" "ms (x wc -l)"
printf '%-9s %6s %8s' "$bookings" \
    "$(awk -v s="$(stat -c %s "$dir/2024.txt")" 'BEGIN { printf "%.1f", s / 1e6 }')" "$wc_ms"
for i in 1 2 3; do printf ' %14s' "${figures[$i]% *} ($(ratio "${figures[$i]% *}" "$wc_ms"))"; done
printf '\nmedian of %s runs, taken in turn; peak KB of insert: %s\n' "$runs" "${figures[2]#* }"
