#!/usr/bin/env bash
# Measures the statistics dialog of the real kx.exe under Wine over a year of BOOKINGS bookings
# (default 1,000,000) next to kxcli.exe stats under Wine on the same year file: the dialog's time
# runs from the key that presses "&Auswerten" until "&Kopieren" is enabled, which the dialog does
# after its list is filled; kxcli.exe's from its start to its end. Each the median of several
# rounds, taken in turn. Needs the Windows build and its Wine session (scripts/wine-session.sh
# start, with KX_DISPLAY set).
# usage: bench/run-stats-dialog.sh [BOOKINGS]   (KX_BENCH_RUNS rounds, default 5)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bookings=${1:-1000000}
runs=${KX_BENCH_RUNS:-5}
"$top/scripts/build.sh" native make_journal
"$top/scripts/build.sh" windows kx kxcli dlgprobe kxprobe

export KX_E2E_BIN="$top/build/windows/bin" KX_E2E_WORK="$top/build/bench-dialog"
export KX_E2E_PREFIX="$top/build/windows/wineprefix"
# The last day of the year measured: the dialog opens on it.
E2E_NOW="2024-12-31 18:00"
# shellcheck source=../tests/e2e/e2e_lib.sh
source "$top/tests/e2e/e2e_lib.sh"

now_ms() { date +%s%3N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

e2e_setup stats
"$top/build/native/bin/make_journal" 2024 "$bookings" "$e2e_dir/2024.txt" /dev/null
write_test_projects
write_settings
kx_start

# Each round opens the dialog anew ("&Kopieren" is disabled until its first result).
dialog_times=() cli_times=()
for round in $(seq "$runs"); do
    kx_focus
    keys alt+b s
    dlg wait-dialog Statistik || die "no statistics after Alt+B, S"
    dlg_wait text Statistik 3000 2024
    started=$(now_ms)
    keys alt+a
    dlg --timeout 120000 wait enabled Statistik 2501 1 >/dev/null || die "no result"
    dialog_times+=($(($(now_ms) - started)))
    [ "$round" -eq 1 ] && screenshot "$KX_E2E_WORK/stats-dialog.png"
    keys Escape
    dlg wait-gone Statistik || die "Escape did not close the statistics"
    started=$(now_ms)
    wine "$KX_E2E_BIN/kxcli.exe" --workdir "$(windows_path "$e2e_dir")" --now "$E2E_NOW" \
        stats 2024 01-01 12-31 >/dev/null 2>&1
    cli_times+=($(($(now_ms) - started)))
done
kx_close
dialog_ms=$(printf '%s\n' "${dialog_times[@]}" | median)
cli_ms=$(printf '%s\n' "${cli_times[@]}" | median)
printf 'bookings %s: statistics dialog %s ms, kxcli.exe stats %s ms under Wine: dialog/kxcli %s\n' \
    "$bookings" "$dialog_ms" "$cli_ms" "$(awk -v a="$dialog_ms" -v b="$cli_ms" 'BEGIN { printf "%.2f", a / b }')"
echo "median of $runs rounds; rounds: dialog ${dialog_times[*]} ms, kxcli.exe ${cli_times[*]} ms"
