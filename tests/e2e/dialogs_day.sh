#!/usr/bin/env bash
# The day editor and undo of the real program: dialogs_day.sh NAME runs one scenario in a program
# folder of its own, driven by keys and clicks, the year file checked byte for byte and the
# reports read with kxcli.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

DAY="Tag bearbeiten"
DAY_DATE=3000 DAY_TIME=3010 DAY_PROJECT=3020 DAY_TEXT=3030 DAY_LIST=3100

# kxcli ARGS...: the Windows kxcli on the scenario's folder at the program's moment.
kxcli() {
    local folder
    folder=$(windows_path "$e2e_dir")
    wine "$E2E_BIN/kxcli.exe" --ini "$folder\\TORKKX.ini" --workdir "$folder" \
        --commondir "$folder" --now "$E2E_NOW" "$@" 2>/dev/null
}

lines() { printf '%s\n' "$@" | head -c -1; }

# Yesterday worked on P4711 from 08:00 to 17:00; at 10:30 the switch to P0815 was forgotten, and
# the 12:00 pause was booked twice.
start_with_day() {
    write_test_projects
    {
        journal_line 2026-03-10 08:00 P4711
        journal_line 2026-03-10 12:00 ---
        journal_line 2026-03-10 12:00 ---
        journal_line 2026-03-10 13:00 P4711
        journal_line 2026-03-10 17:00 ---
    } >"$(year_file)"
    kx_start
}

open_day_editor() {
    kx_focus
    keys alt+b t
    dlg wait-dialog "$DAY" || die "the day editor did not open"
    probe_wait active "#32770"
}

# type_into ID TEXT: the field gets the focus by a click, its text is replaced by typing (the
# project box's focus is its edit field, 1001).
type_into() {
    click_control "$DAY" "$1"
    dlg_wait focused "$DAY" 0 "$([ "$1" != $DAY_PROJECT ] && echo "$1" || echo 1001)"
    [ -z "$(dlg text "$DAY" "$1")" ] || keys Home shift+End Delete
    dlg_wait text "$DAY" "$1" ""
    [ -z "$2" ] || type_text "$2"
    dlg_wait text "$DAY" "$1" "$2"
}

text_is_not() { [ "$(dlg text "$1" "$2")" != "$3" ]; }

# The forgotten switch typed in at 10:30 and saved: the statistics and the weekly report count
# it; the double pause deleted. A typed time that is none is refused with a message.
scenario_day_insert() {
    e2e_setup day_insert
    start_with_day
    open_day_editor
    dlg_wait text "$DAY" $DAY_DATE "$E2E_TODAY"
    click_control "$DAY" 2510
    dlg_wait text "$DAY" $DAY_DATE 2026-03-10
    dlg_wait items "$DAY" $DAY_LIST "$(lines "08:00	P4711	4:00	" "12:00	---		" \
        "12:00	---		" "13:00	P4711	4:00	" "17:00	---		")"

    type_into $DAY_TIME "9.30"
    type_into $DAY_PROJECT P0815
    keys alt+n
    probe wait-msgbox "Ung" >/dev/null || die "no message for the time 9.30"
    probe press OK >/dev/null || die "no button OK"
    type_into $DAY_TIME "10:30"
    type_into $DAY_TEXT "Wartung"
    click_control "$DAY" 2504
    dlg_wait items "$DAY" $DAY_LIST "$(lines "08:00	P4711	2:30	" "10:30	P0815	1:30	Wartung" \
        "12:00	---		" "12:00	---		" "13:00	P4711	4:00	" "17:00	---		")"
    click_row "$DAY" $DAY_LIST 3
    dlg_wait selected "$DAY" $DAY_LIST 3
    click_control "$DAY" 2506
    dlg_wait items "$DAY" $DAY_LIST "$(lines "08:00	P4711	2:30	" "10:30	P0815	1:30	Wartung" \
        "12:00	---		" "13:00	P4711	4:00	" "17:00	---		")"
    screenshot "$E2E_WORK/../e2e-day-editor.png"
    keys alt+s
    local expected="$e2e_dir/expected.txt"
    {
        journal_line 2026-03-10 08:00 P4711
        journal_line 2026-03-10 10:30 P0815 Wartung
        journal_line 2026-03-10 12:00 ---
        journal_line 2026-03-10 13:00 P4711
        journal_line 2026-03-10 17:00 ---
    } >"$expected"
    wait_until 10 cmp -s "$(year_file)" "$expected" || expect_file "$(year_file)" "$expected"
    expect_eq "statistics" "$(kxcli stats 2026 03-10 03-10 --minutes | tr -d '\r' | head -3)" \
        "$(lines "                   8:00 h  100,0 %" "P0815              1:30 h   18,8 %" \
            "P4711              6:30 h   81,3 %")"
    kxcli week 2026 03-09 03-15 --minutes | tr -d "\r" | LC_ALL=C grep -q "^P0815 .* 1:30 .* 1:30$" ||
        die "the weekly report lacks P0815's 1:30"
    expect_eq "kxcli day" "$(kxcli day 2026-03-10 | tr -d '\r')" \
        "$(dlg items "$DAY" $DAY_LIST)"

    # Saved: Escape closes without a question.
    keys Escape
    dlg wait-gone "$DAY" || die "Escape did not close the day editor"
    expect_eq "open dialogs" "$(dlg dialogs)" ""
    kx_close
}

# book_p4711: P4711 chosen in the main list with a double click and booked with Enter.
book_p4711() {
    kx_focus
    local row
    row=$(probe get list | grep -n "^P4711" | head -1 | cut -d: -f1)
    double_click_row $((row - 1))
    probe_wait project P4711
    keys Return
    probe_wait indicator EIN
}

# Ctrl+Z after a booking leaves the year file byte-identical; after kxcli booked in between it
# is refused with a message and nothing changes.
scenario_undo_booking() {
    e2e_setup undo_booking
    start_with_day
    local before="$e2e_dir/before.txt"
    cp "$(year_file)" "$before"
    book_p4711
    ! cmp -s "$(year_file)" "$before" || die "the booking was not written"
    # In a text field Ctrl+Z takes back the typing, not the booking.
    open_day_editor
    type_into $DAY_PROJECT "XYZ"
    keys ctrl+z
    wait_until 10 text_is_not "$DAY" $DAY_PROJECT "XYZ" || die "Ctrl+Z kept the typed text"
    ! cmp -s "$(year_file)" "$before" || die "Ctrl+Z in a text field took back the booking"
    keys Escape
    dlg wait-gone "$DAY" || die "Escape did not close the day editor"
    kx_focus
    keys ctrl+z
    wait_until 10 cmp -s "$(year_file)" "$before" || expect_file "$(year_file)" "$before"
    probe_wait indicator AUS

    book_p4711
    kxcli book P0815 >/dev/null
    local meanwhile="$e2e_dir/meanwhile.txt"
    cp "$(year_file)" "$meanwhile"
    kx_focus
    keys ctrl+z
    probe wait-msgbox "Nicht r" >/dev/null || die "no message when undo is refused"
    probe press OK >/dev/null || die "no button OK"
    expect_file "$(year_file)" "$meanwhile"
    kx_close
}

# The timesheet's "Tag bearbeiten..." opens the day editor on the selected row's day; a date
# typed into its field is shown after Enter.
scenario_day_from_timesheet() {
    e2e_setup day_from_timesheet
    start_with_day
    kx_focus
    keys alt+b m
    dlg wait-dialog "Monatsbericht" || die "the timesheet did not open"
    local row
    row=$(dlg items "Monatsbericht" 3100 | grep -n "10\.03\.2026" | cut -d: -f1)
    [ -n "$row" ] || die "no row of 10.03.2026 in the timesheet"
    click_row "Monatsbericht" 3100 $((row - 1))
    dlg_wait selected "Monatsbericht" 3100 $((row - 1))
    click_control "Monatsbericht" 2504
    dlg wait-dialog "$DAY" || die "the day editor did not open"
    dlg_wait text "$DAY" $DAY_DATE 2026-03-10
    dlg_wait items "$DAY" $DAY_LIST "$(kxcli day 2026-03-10 | tr -d '\r')"
    # A date typed into the field and Enter: that day is shown.
    type_into $DAY_DATE 2026-03-09
    keys Return
    dlg_wait items "$DAY" $DAY_LIST ""
    type_into $DAY_DATE 2026-03-10
    keys Return
    dlg_wait items "$DAY" $DAY_LIST "$(kxcli day 2026-03-10 | tr -d '\r')"
    kx_close
}

"scenario_${1:?usage: dialogs_day.sh NAME}"
