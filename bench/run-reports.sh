#!/usr/bin/env bash
# Measures kxcli's reports on year files of 10,000, 100,000 and 1,000,000 bookings: the statistics
# in each mode, the weekly report, the detail list, the export and the periods as CSV and as
# timeclock file over the whole year, each the median of several runs next to `wc -l` on the same
# file in the same run, with the peak memory of kxcli; and ledger's balance report over the same
# bookings (kxcli's timeclock export), which computes the same sums per project level, measured
# in turn with the statistics for the ratio "ledger/stats"; and the periods with one core for all
# of kxcli's threads. Every report's output is compared byte for byte with that of a kxcli built
# from KX_BENCH_BASE (a git revision, default main).
# Prints a table. Installs ledger when it is missing.
# usage: bench/run-reports.sh [BOOKINGS...]   (KX_BENCH_RUNS runs per figure, default 7)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${KX_BENCH_RUNS:-7}
base_revision=${KX_BENCH_BASE:-main}
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

# The kxcli of the base revision, built from its files in a folder of its own.
base_source="$work/base-source"
rm -rf "$base_source"
mkdir -p "$base_source"
git -C "$top" archive "$base_revision" | tar -x -C "$base_source"
KX_BUILD_ROOT="$work/base-build" "$base_source/scripts/build.sh" native kxcli >/dev/null
base_kxcli="$work/base-build/native/bin/kxcli"

# median milliseconds and peak kilobytes of each command (commands separated by --)
measure() { "$bin/run_measured" "$@"; }
ms() { echo "${1% *}"; }
kb() { echo "${1#* }"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

names=("stats project" "stats month" "stats week" "week" "detail" "export" "periods" "timeclock")
# The arguments of each report, in the order of names.
report_arguments() {
    case "$1" in
        0) echo "stats 2024 01-01 12-31" ;;
        1) echo "stats 2024 01-01 12-31 --mode month" ;;
        2) echo "stats 2024 01-01 12-31 --mode week" ;;
        3) echo "week 2024 01-01 12-31" ;;
        4) echo "detail KD 2024-01-01 2024-12-31" ;;
        5) echo "export 2024 01-01 12-31" ;;
        6) echo "periods 2024 01-01 12-31" ;;
        7) echo "timeclock 2024 01-01 12-31" ;;
    esac
}

for n in "${sizes[@]}"; do
    dir="$work/$n"
    mkdir -p "$dir/base"
    "$bin/make_journal" 2024 "$n" "$dir/2024.txt" "$dir/generated.timeclock"
    options=(--workdir "$dir" --person BM --now "2025-01-15 12:00")
    kx=("$bin/kxcli" "${options[@]}" --exportdir "$dir")
    "${kx[@]}" timeclock 2024 01-01 12-31 >"$dir/2024.timeclock"
    # wc -l and the reports in turn, round after round; ledger on its own (it takes far longer).
    command_line=(wc -l "$dir/2024.txt")
    for i in "${!names[@]}"; do
        read -ra words <<<"$(report_arguments "$i")"
        command_line+=(-- "${kx[@]}" "${words[@]}")
    done
    mapfile -t figures < <(measure "$runs" "${command_line[@]}")
    ledger_runs=$runs
    [ "$n" -ge 1000000 ] && ledger_runs=3
    # ledger in turn with the statistics, so that both figures of the ratio see the same load.
    mapfile -t paired < <(measure "$ledger_runs" ledger -f "$dir/2024.timeclock" balance \
        -- "${kx[@]}" stats 2024 01-01 12-31)

    # The periods where the whole machine has one core for kxcli (a busy machine): its threads
    # take turns on it.
    mapfile -t one_core < <(taskset -c 0 "$bin/run_measured" "$runs" wc -l "$dir/2024.txt" \
        -- "${kx[@]}" periods 2024 01-01 12-31)

    # Output byte for byte as the base revision's kxcli gives it.
    same=identical
    for i in "${!names[@]}"; do
        read -ra words <<<"$(report_arguments "$i")"
        "${kx[@]}" "${words[@]}" >"$dir/new.out" 2>&1 || true
        "$base_kxcli" "${options[@]}" --exportdir "$dir/base" "${words[@]}" >"$dir/base.out" \
            2>&1 || true
        sed -i "s#$dir/base/#$dir/#" "$dir/base.out"
        cmp -s "$dir/new.out" "$dir/base.out" || same="differs: ${names[$i]}"
    done
    cmp -s "$dir/2024BM.txt" "$dir/base/2024BM.txt" || same="differs: export file"

    # The grand totals in minutes must agree: kxcli's total line and ledger's total in hours.
    ours=$("${kx[@]}" stats 2024 01-01 12-31 --table --minutes 2>/dev/null | tail -1 |
        tr -d '\r' | awk -F'\t' '{ split($2, t, ":"); print t[1] * 60 + t[2] }')
    theirs=$(ledger -f "$dir/2024.timeclock" balance | tail -1 | tr -dc '0-9.' |
        awk '{ printf "%d", $1 * 60 + 0.5 }')
    sums=differ
    [ "$ours" = "$theirs" ] && sums=agree

    wc_ms=$(ms "${figures[0]}")
    peak=0
    echo
    printf 'bookings %s, %s MB; wc -l %s ms; output against %s: %s; sums with ledger: %s\n' "$n" \
        "$(awk -v s="$(stat -c %s "$dir/2024.txt")" 'BEGIN { printf "%.1f", s / 1e6 }')" \
        "$wc_ms" "$base_revision" "$same" "$sums"
    printf '  %-14s %8s %8s\n' report ms "x wc -l"
    for i in "${!names[@]}"; do
        figure=${figures[$((i + 1))]}
        [ "$(kb "$figure")" -gt "$peak" ] && peak=$(kb "$figure")
        printf '  %-14s %8s %8s\n' "${names[$i]}" "$(ms "$figure")" "$(ratio "$(ms "$figure")" "$wc_ms")"
    done
    printf '  ledger balance %s ms, stats beside it %s ms: ledger/stats %s; peak KB of kxcli %s\n' \
        "$(ms "${paired[0]}")" "$(ms "${paired[1]}")" \
        "$(ratio "$(ms "${paired[0]}")" "$(ms "${paired[1]}")")" "$peak"
    printf '  periods on one core %s ms, wc -l on it %s ms: %s x wc -l\n' "$(ms "${one_core[1]}")" \
        "$(ms "${one_core[0]}")" "$(ratio "$(ms "${one_core[1]}")" "$(ms "${one_core[0]}")")"
done
echo "median of $runs runs (ledger: 3 at 1,000,000)"
