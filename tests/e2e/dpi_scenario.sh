#!/usr/bin/env bash
# Every text whole at a system DPI (dpi_scenario.sh 96|144|192): the main window and each dialog
# opened as the user opens it, every child window's text measured in its own font against its
# room (fitcheck). The prefix's DPI is set before the program starts and put back to 96 after.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
dpi=${1:?usage: dpi_scenario.sh DPI}

# The dialogs: title, then the command that opens it from the active main window. A new dialog
# is one line.
DIALOGS=(
    "Statistik|keys alt+b s"
    "Detailanzeige|open_detail"
    "Wochenbericht|keys alt+b w"
    "Monatsbericht|keys alt+b m"
    "Export|keys alt+b e"
    "Projekte|keys alt+d p"
    "Verzeichnisse einstellen|keys alt+e v"
    "Optionen|keys alt+e o"
    "Arbeitszeit einstellen|keys alt+e a"
    "Palmtop einstellen|keys alt+e p"
    "Zeiten pr$(printf '\303\274')fen|keys alt+d r"
    "Tag bearbeiten|keys alt+b t"
)

# The detail view of the first project of the statistics (which it replaces).
open_detail() {
    keys alt+b s
    dlg wait-dialog Statistik >/dev/null || die "no statistics"
    keys alt+a
    dlg_wait enabled Statistik 2501 1
    click_row Statistik 3100 1 # the first project, after the total
    keys alt+d
}

set_dpi() {
    local key
    for key in 'HKCU\Control Panel\Desktop' \
        'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
        wine reg add "$key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 ||
            die "cannot set the DPI"
    done
}

# fits WINDOW: fitcheck's findings; the scenario fails on any.
fits() {
    local out
    out=$(cd "$E2E_BIN" && wine fitcheck.exe "$1") || die "at $dpi DPI, in '$1': $out"
    case "$out" in *"at $dpi DPI"*) ;; *) die "'$1' was not shown at $dpi DPI: $out" ;; esac
}

e2e_setup "dpi_$dpi"
write_settings "Person=ABC"
write_test_projects
{ journal_line 2026-03-11 08:00 P4711 "Analyse der Anforderungen"; pause_line 2026-03-11 09:00; } \
    >"$(year_file)"
e2e_cleanups+=("set_dpi 96")
set_dpi "$dpi"
kx_start
probe_wait indicator AUS
fits --main
for entry in "${DIALOGS[@]}"; do
    title=${entry%%|*}
    kx_focus
    # shellcheck disable=SC2086
    ${entry#*|}
    dlg wait-dialog "$title" >/dev/null || die "'$title' did not open"
    fits "$title"
    dlg close "$title"
    dlg wait-gone "$title" >/dev/null || die "'$title' did not close"
done
kx_close
