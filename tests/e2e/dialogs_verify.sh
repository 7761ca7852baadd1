#!/usr/bin/env bash
# End-to-end scenario of the journal check: dialogs_verify.sh NAME runs one against the real
# program, driven by keys and clicks.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

VERIFY="Zeiten pr$(printf '\303\274')fen"

status_says() { probe get status | LC_ALL=C grep -aq "$1"; }

# A year file whose second line was broken by hand ("9.30"): the status line names it at the
# start, Datei > Zeiten pruefen lists it with its reason and text, Tag bearbeiten opens the day
# editor on its day, and once the line is mended, Aktualisieren empties the list.
scenario_verify() {
    e2e_setup verify
    write_test_projects
    {
        journal_line 2026-03-10 08:00 P4711
        printf '2026-03-10  9.30    P0815\n'
        pause_line 2026-03-10 17:00
        journal_line "$E2E_TODAY" 08:00 P4711
    } >"$(year_file)"
    kx_start
    wait_until 15 status_says "2026.txt: 1 auff.llige Zeile (Datei > Zeiten pr.fen...)" ||
        die "the status line says '$(probe get status)'"
    kx_focus
    keys alt+d r
    dlg wait-dialog "$VERIFY" || die "no check dialog after Alt+D, R"
    local expected=$e2e_dir/expected.txt
    printf '2\tUhrzeit ung\374ltig.\t2026-03-10  9.30    P0815\n' >"$expected"
    expect_items "$VERIFY" 3100 "$expected"
    screenshot "$E2E_WORK/../e2e-verify.png"

    # Tag bearbeiten: the day editor on the selected line's day.
    click_row "$VERIFY" 3100 0
    dlg_wait selected "$VERIFY" 3100 0
    click_control "$VERIFY" 2502
    dlg wait-dialog "Tag bearbeiten" || die "Tag bearbeiten opened no day editor"
    dlg_wait text "Tag bearbeiten" 3000 2026-03-10
    keys Escape
    dlg wait-gone "Tag bearbeiten" || die "Escape did not close the day editor"
    dlg wait-dialog "$VERIFY" || die "the check dialog went with the day editor"
    click_control "$VERIFY" 3100

    sed -i 's/  9\.30  /  09:30 /' "$(year_file)"
    keys alt+a
    dlg_wait text "$VERIFY" 3000 "2026.txt: keine auff$(printf '\303\244')lligen Zeilen."
    expect_eq "the list after the repair" "$(dlg items "$VERIFY" 3100 | tr -d '\r\n')" ""
    keys Escape
    dlg wait-gone "$VERIFY" || die "Escape did not close the check dialog"
    kx_close
}

"scenario_${1:?usage: dialogs_verify.sh NAME}"
