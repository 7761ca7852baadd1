#!/usr/bin/env bash
# Measures kxcli's reports on year files of 10,000, 100,000 and 1,000,000 bookings: the statistics
# in each mode, the weekly report and the export over the whole year, each the median of several
# runs next to `wc -l` on the same file in the same run, with the peak memory of kxcli; and
# ledger's balance report over the same bookings in timeclock format, which computes the same
# sums per project level, measured in turn with the statistics for the ratio "ledger/stats".
# Prints a table. Installs ledger when it is missing.
# usage: bench/run-reports.sh [BOOKINGS...]   (KX_BENCH_RUNS runs per figure, default 7)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${KX_BENCH_RUNS:-7}
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(10000 100000 1000000)

"$top/scripts/build.sh" native kxcli make_journal run_measured
if ! command -v ledger >/dev/null; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends ledger \
        >/dev/null
fi
bin="$top/build/native/bin"
work="$top/build/bench-reports"

# median milliseconds and peak kilobytes of each command (commands separated by --)
measure() { "$bin/run_measured" "$@"; }
ms() { echo "${1% *}"; }
kb() { echo "${1#* }"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", a / b }'; }

printf '%-9s %6s %8s %16s %8s %8s %8s %8s %10s %8s %9s %7s\n' bookings MB "wc -l" \
    "stats project" month week "week rpt" export "ledger bal" "ledger/" "peak KB" sums
printf '%-9s %6s %8s %16s %8s %8s %8s %8s %10s %8s %9s %7s\n' "" "" ms "ms (x wc -l)" ms ms ms ms \
    ms stats kxcli ""
for n in "${sizes[@]}"; do
    dir="$work/$n"
    mkdir -p "$dir"
    "$bin/make_journal" 2024 "$n" "$dir/2024.txt" "$dir/2024.timeclock"
    kx=("$bin/kxcli" --workdir "$dir" --exportdir "$dir" --person BM --now "2025-01-15 12:00")
    # wc -l and the reports in turn, round after round; ledger on its own (it takes far longer).
    mapfile -t figures < <(measure "$runs" wc -l "$dir/2024.txt" \
        -- "${kx[@]}" stats 2024 01-01 12-31 \
        -- "${kx[@]}" stats 2024 01-01 12-31 --mode month \
        -- "${kx[@]}" stats 2024 01-01 12-31 --mode week \
        -- "${kx[@]}" week 2024 01-01 12-31 \
        -- "${kx[@]}" export 2024 01-01 12-31)
    wc_line=${figures[0]} project=${figures[1]} month=${figures[2]} week=${figures[3]}
    report=${figures[4]} export=${figures[5]}
    ledger_runs=$runs
    [ "$n" -ge 1000000 ] && ledger_runs=3
    # ledger in turn with the statistics, so that both figures of the ratio see the same load.
    mapfile -t paired < <(measure "$ledger_runs" ledger -f "$dir/2024.timeclock" balance \
        -- "${kx[@]}" stats 2024 01-01 12-31)
    ledger_line=${paired[0]} paired_stats=${paired[1]}
    peak=0
    for figure in "$project" "$month" "$week" "$report" "$export"; do
        [ "$(kb "$figure")" -gt "$peak" ] && peak=$(kb "$figure")
    done
    # The grand totals in minutes must agree: kxcli's total line and ledger's total in hours.
    ours=$("${kx[@]}" stats 2024 01-01 12-31 --table --minutes 2>/dev/null | tail -1 |
        tr -d '\r' | awk -F'\t' '{ split($2, t, ":"); print t[1] * 60 + t[2] }')
    theirs=$(ledger -f "$dir/2024.timeclock" balance | tail -1 | tr -dc '0-9.' |
        awk '{ printf "%d", $1 * 60 + 0.5 }')
    sums=differ
    [ "$ours" = "$theirs" ] && sums=agree
    printf '%-9s %6s %8s %16s %8s %8s %8s %8s %10s %8s %9s %7s\n' "$n" \
        "$(awk -v s="$(stat -c %s "$dir/2024.txt")" 'BEGIN { printf "%.1f", s / 1e6 }')" \
        "$(ms "$wc_line")" "$(ms "$project") ($(ratio "$(ms "$project")" "$(ms "$wc_line")"))" \
        "$(ms "$month")" "$(ms "$week")" "$(ms "$report")" "$(ms "$export")" \
        "$(ms "$ledger_line")" "$(ratio "$(ms "$ledger_line")" "$(ms "$paired_stats")")" "$peak" "$sums"
done
echo "median of $runs runs (ledger: 3 at 1,000,000); peak KB: largest peak resident memory of kxcli"
