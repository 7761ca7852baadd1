#!/usr/bin/env bash
# End-to-end scenarios of the monthly timesheet and the working-time settings:
# dialogs_timesheet.sh NAME runs one against the real program, driven by keys and clicks; the
# sheet's list and copies are compared with kxcli's month on the same folder and settings.
here=$(cd "$(dirname "$0")" && pwd)
# Wednesday after Easter 2026: the month shows Karfreitag and Ostermontag.
E2E_NOW=${E2E_NOW-"2026-04-08 09:30"}
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

MONTH="Monatsbericht"
WORKTIME="Arbeitszeit einstellen"
DETAIL="Detailanzeige"

# kxcli ARGS...: the Windows kxcli on the scenario's folder and settings at the program's moment.
kxcli() {
    local folder
    folder=$(windows_path "$e2e_dir")
    wine "$E2E_BIN/kxcli.exe" --ini "$folder\\TORKKX.ini" --workdir "$folder" \
        --commondir "$folder" --now "$E2E_NOW" "$@" 2>/dev/null
}

# menu KEYS...: an item of the main window's menu by its access keys.
menu() {
    kx_focus
    keys "$@"
}

# The settings file with section "Arbeitszeit" holding the lines given.
write_worktime() { printf '%s\r\n' "[Arbeitszeit]" "$@" >"$e2e_dir/TORKKX.ini"; }

# March and April 2026: working days of varying length, a sick day, a vacation day, a day left
# open, a long day with a short pause, today running.
write_year_file() {
    local day date start end
    {
        for day in $(seq 2 27); do
            date=$(printf '2026-03-%02d' "$day")
            [ "$(date -d "$date" +%u)" -le 5 ] || continue
            if [ "$day" -eq 12 ]; then
                journal_line "$date" 08:00 KRANK
                journal_line "$date" 08:00 ---
                continue
            fi
            start=$(printf '%02d:%02d' $((7 + day % 2)) $((day % 4 * 15)))
            end=$(printf '%02d:%02d' $((16 + day % 3 / 2)) $((day % 4 * 10 + 15)))
            journal_line "$date" "$start" P4711
            journal_line "$date" 12:00 ---
            journal_line "$date" "12:$((day % 3 == 0 ? 35 : 45))" P0815 "Wartung"
            journal_line "$date" 14:30 P4711
            journal_line "$date" "$end" ---
        done
        journal_line 2026-03-30 08:00 P4711
        journal_line 2026-03-30 12:00 ---
        journal_line 2026-03-30 12:45 P0815 "Wartung"
        journal_line 2026-03-30 17:15 ---
        journal_line 2026-03-31 07:30 P4711
        journal_line 2026-03-31 18:00 ---
        journal_line 2026-04-01 08:00 URLAUB
        journal_line 2026-04-01 08:00 ---
        journal_line 2026-04-02 09:00 P4711
        journal_line 2026-04-07 06:30 P0815
        journal_line 2026-04-07 12:00 ---
        journal_line 2026-04-07 12:20 P4711
        journal_line 2026-04-07 16:50 ---
        journal_line 2026-04-08 08:00 P4711
    } >"$(year_file)"
}

# month_is MM YYYY: the fields show the month.
month_is() {
    dlg_wait text "$MONTH" 3010 "$1"
    dlg_wait text "$MONTH" 3000 "$2"
}

# The sheet opens on the current month; its list, its copy and its table copy are kxcli's month
# byte for byte; "-" and "+" step a month and show it, a month typed is shown with Enter; a day's
# "&Detail..." lists that day's bookings.
scenario_timesheet() {
    e2e_setup timesheet
    write_test_projects
    write_year_file
    write_worktime "Beginn=2026-03-01" "Uebertrag=1:30"
    kx_start
    menu alt+b m
    dlg wait-dialog "$MONTH" || die "no timesheet after Alt+B, M"
    month_is 04 2026
    local expected=$e2e_dir/expected.txt
    kxcli month 2026 04 >"$expected"
    expect_items "$MONTH" 3100 "$expected"
    keys alt+k
    expect_clipboard "$expected"
    click_control "$MONTH" 3110
    dlg_wait checked "$MONTH" 3110 1
    keys alt+k
    kxcli month 2026 04 --table >"$expected"
    expect_clipboard "$expected"

    click_control "$MONTH" 2510
    month_is 03 2026
    kxcli month 2026 03 >"$expected"
    expect_items "$MONTH" 3100 "$expected"
    screenshot "$E2E_WORK/../e2e-timesheet.png"
    click_control "$MONTH" 2511
    click_control "$MONTH" 2511
    month_is 05 2026
    kxcli month 2026 05 >"$expected"
    expect_items "$MONTH" 3100 "$expected"

    # March typed into the month field, then Enter: the default button shows it.
    click_control "$MONTH" 3010
    keys Home
    type_text 03
    keys Return
    kxcli month 2026 03 >"$expected"
    expect_items "$MONTH" 3100 "$expected"

    # 30 March (its line is the 30th after the heading): its bookings in the detail view.
    click_row "$MONTH" 3100 30
    keys alt+d
    dlg wait-dialog "$DETAIL" || die "no detail view after Alt+D"
    dlg_wait text "$DETAIL" 3010 2026-03-30
    dlg_wait text "$DETAIL" 3020 2026-03-30
    kxcli detail "" 2026-03-30 2026-03-30 --minutes >"$expected"
    expect_items "$DETAIL" 3100 "$expected"
    keys Escape
    dlg wait-gone "$DETAIL" || die "Escape did not close the detail view"
    menu alt+b m
    dlg wait-dialog "$MONTH" || die "the timesheet went at the second choice"
    month_is 03 2026
    keys Escape
    dlg wait-gone "$MONTH" || die "Escape did not close the timesheet"
    kx_close
}

# field_is ID TEXT: a field of the settings dialog shows the text.
field_is() { dlg_wait text "$WORKTIME" "$1" "$2"; }

# replace ID TEXT: the field's text replaced by typing, as the user does it.
replace() {
    focus_control "$WORKTIME" "$1"
    keys Home shift+End Delete
    local text=$2
    # xdotool would take a leading "-" for an option of its own.
    if [ "${text:0:1}" == "-" ]; then
        keys minus
        text=${text:1}
    fi
    [ -z "$text" ] || type_text "$text"
}

# fields_are FROM MO DI MI DO FR SA SO BEGIN OPENING ABSENCES: what the dialog shows.
fields_are() {
    local id=3000 value
    field_is 3000 "$1"
    shift
    for id in 3010 3011 3012 3013 3014 3015 3016; do
        field_is $id "$1"
        shift
    done
    field_is 3020 "$1"
    field_is 3030 "$2"
    field_is 3040 "$3"
}

# Every value of the settings dialog goes to the settings file and comes back into the dialog; a
# second version from a later date keeps the first, and choosing a version in the list shows it;
# an impossible value is refused with a message and the dialog keeps the changes.
scenario_worktime_settings() {
    e2e_setup worktime_settings
    write_test_projects
    write_year_file
    kx_start
    menu alt+e a
    dlg wait-dialog "$WORKTIME" || die "no working-time settings after Alt+E, A"
    fields_are 2026-01-01 8:00 8:00 8:00 8:00 8:00 0:00 0:00 "" 0:00 "URLAUB;KRANK"
    expect_eq "versions" "$(dlg items "$WORKTIME" 3100)" ""

    replace 3000 2026-03-02
    local values=(7:30 7:30 7:30 7:30 6:00 0:00 1:00) id i=0
    for id in 3010 3011 3012 3013 3014 3015 3016; do
        replace $id "${values[$i]}"
        i=$((i + 1))
    done
    replace 3020 2025-12-01
    replace 3030 -2:45
    replace 3040 "URLAUB; KRANK ;KUR"
    keys alt+s
    dlg wait-gone "$WORKTIME" || die "\"&Speichern\" did not close the dialog"
    expect_eq "Soll1" "$(ini_value Arbeitszeit Soll1)" "2026-03-02 7:30 7:30 7:30 7:30 6:00 0:00 1:00"
    expect_eq "Beginn" "$(ini_value Arbeitszeit Beginn)" 2025-12-01
    expect_eq "Uebertrag" "$(ini_value Arbeitszeit Uebertrag)" -2:45
    expect_eq "Abwesenheit" "$(ini_value Arbeitszeit Abwesenheit)" "URLAUB;KRANK;KUR"

    menu alt+e a
    dlg wait-dialog "$WORKTIME" || die "the settings did not open again"
    fields_are 2026-03-02 7:30 7:30 7:30 7:30 6:00 0:00 1:00 2025-12-01 -2:45 "URLAUB;KRANK;KUR"
    replace 3000 2026-06-01
    replace 3010 5:00
    keys alt+s
    dlg wait-gone "$WORKTIME" || die "the second save did not close the dialog"
    expect_eq "Soll1 kept" "$(ini_value Arbeitszeit Soll1)" \
        "2026-03-02 7:30 7:30 7:30 7:30 6:00 0:00 1:00"
    expect_eq "Soll2" "$(ini_value Arbeitszeit Soll2)" "2026-06-01 5:00 7:30 7:30 7:30 6:00 0:00 1:00"

    menu alt+e a
    dlg wait-dialog "$WORKTIME" || die "the settings did not open a third time"
    field_is 3000 2026-06-01
    dlg_wait items "$WORKTIME" 3100 "$(printf '%s\n%s' \
        "2026-03-02 7:30 7:30 7:30 7:30 6:00 0:00 1:00" "2026-06-01 5:00 7:30 7:30 7:30 6:00 0:00 1:00")"
    click_row "$WORKTIME" 3100 0
    field_is 3000 2026-03-02
    field_is 3010 7:30
    screenshot "$E2E_WORK/../e2e-worktime.png"

    local before=$e2e_dir/before.ini
    cp "$e2e_dir/TORKKX.ini" "$before"
    replace 3030 "2,5"
    keys alt+s
    probe wait-msgbox "Ung" || die "no message for an impossible opening balance"
    probe press OK >/dev/null || die "no button OK"
    dlg wait-dialog "$WORKTIME" || die "the refused save closed the dialog"
    field_is 3030 "2,5"
    keys Escape
    probe wait-msgbox "nderungen speichern?" || die "no question on Escape after a change"
    probe press Nein >/dev/null || die "no button Nein"
    dlg wait-gone "$WORKTIME" || die "No did not close the dialog"
    expect_file "$e2e_dir/TORKKX.ini" "$before"
    kx_close
}

"scenario_${1:?usage: dialogs_timesheet.sh NAME}"
