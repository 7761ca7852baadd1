#!/usr/bin/env bash
# The end-to-end scenarios: scenarios.sh NAME runs one of them against the real program (or, for
# "tools", against a stand-in main window) in a program folder of its own.
here=$(cd "$(dirname "$0")" && pwd)
[ "${1:-}" == tools ] && E2E_PROGRAM=standin_main.exe
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

# The probe, the DDE client and X input reach a stand-in window with the program's class; the
# probe reads the clipboard.
scenario_tools() {
    e2e_setup tools
    kx_start
    probe_wait items 3
    expect_eq "clipboard" "$(probe --utf8 get clipboard)" "$(printf 'Korvex\r\nZwischenablage \303\244')"
    expect_eq "list" "$(probe get list)" "$(printf 'P4711          Erstes Projekt\n---\nP0815          Zweites')"
    kx_focus
    double_click_row 2
    probe_wait selected 2
    keys Up
    probe_wait selected 1
    wine "$E2E_BIN/ddeclient.exe" "any topic" "[open]" >/dev/null || die "no DDE acknowledgement"
    if wine "$E2E_BIN/ddeclient.exe" --service KXNONE topic "[open]" >/dev/null; then
        die "a service that does not exist acknowledged"
    fi
    probe close wait-gone || die "the stand-in did not end"
    kx_wait_end
    expect_eq "exit code" "$kx_code" 0
}

# A year file whose last booking is a pause of yesterday: the program starts with "AUS".
start_after_pause() {
    write_test_projects
    pause_line 2026-03-10 17:00 >"$(year_file)"
    kx_start "$@"
    probe_wait title "Zeiterfassung - ---"
    probe_wait indicator AUS
}

# The typical booking: a project chosen by double-click, Enter; another by arrow keys and
# Space, Enter. Each adds exactly its line to the year file and shows it in the strip; one the
# file refuses stays in the strip.
scenario_booking() {
    e2e_setup booking
    start_after_pause
    expect_eq "list" "$(probe get list)" "$(printf '%s\n' "---" \
        "P4711           Kundenprojekt Nord" "P0815           Wartung" \
        " Gesperrt       beginnt mit Leerzeichen" | head -c -1)"
    kx_focus
    double_click_row 1
    probe_wait indicator ANDERS
    probe wait project P4711 get date get time >"$e2e_dir/strip" || die "P4711 not chosen"
    expect_eq "chosen date and time" "$(cat "$e2e_dir/strip")" "$(printf '%s\n%s' "$E2E_TODAY" "$E2E_TIME")"
    keys Return
    probe_wait indicator EIN
    probe_wait title "Zeiterfassung - P4711"
    local expected="$e2e_dir/expected.txt"
    { pause_line 2026-03-10 17:00; journal_line "$E2E_TODAY" "$E2E_TIME" P4711; } >"$expected"
    expect_file "$(year_file)" "$expected"
    expect_eq "list after the booking" "$(probe get items get selected get focus)" "$(printf '5\n-1\nlist')"

    # The list now begins with P4711, "---", then the file: P0815 is the fourth entry.
    keys Home Down Down Down space
    probe_wait project P0815
    probe_wait indicator ANDERS
    keys Return
    probe_wait title "Zeiterfassung - P0815"
    probe_wait indicator EIN
    journal_line "$E2E_TODAY" "$E2E_TIME" P0815 >>"$expected"
    expect_file "$(year_file)" "$expected"
    expect_eq "strip" "$(probe get date get time get project get text)" \
        "$(printf '%s\n%s\nP0815\n' "$E2E_TODAY" "$E2E_TIME")"
    screenshot "$E2E_WORK/../e2e-booking.png"

    # A year file that cannot be written (a folder in its place): the booking is refused with a
    # message and stays in the strip, to be confirmed again once the file is back.
    mv "$(year_file)" "$e2e_dir/kept.txt"
    mkdir "$(year_file)"
    keys Home space
    probe_wait indicator ANDERS
    keys Return
    wait_until 10 status_says "Kann Zeitendatei" || die "no message for a refused booking"
    expect_eq "strip after a refused booking" "$(probe get indicator get project)" \
        "$(printf 'ANDERS\nP0815')"
    rmdir "$(year_file)"
    mv "$e2e_dir/kept.txt" "$(year_file)"
    expect_file "$(year_file)" "$expected"
    keys Return
    probe_wait indicator EIN
    journal_line "$E2E_TODAY" "$E2E_TIME" P0815 >>"$expected"
    expect_file "$(year_file)" "$expected"
    kx_close
}
status_says() { probe get status | LC_ALL=C grep -aq "$1"; }

# Tab and Shift+Tab, an entry that cannot be chosen, Escape, typing into a field, Enter without
# a change, Space without a selection.
scenario_keyboard() {
    e2e_setup keyboard
    write_test_projects
    local expected="$e2e_dir/expected.txt"
    { pause_line 2026-03-11 07:55; journal_line 2026-03-11 08:00 P4711 Analyse; } >"$expected"
    cp "$expected" "$(year_file)"
    kx_start
    probe_wait title "Zeiterfassung - P4711"
    probe_wait indicator EIN
    kx_focus
    probe_wait focus list

    local field
    for field in date time text list; do
        keys Tab
        probe_wait focus $field
    done
    for field in text time date list; do
        keys shift+Tab
        probe_wait focus $field
    done

    # Space on the entry beginning with a space (the last one) chooses nothing. The Tab after
    # it shows that the keys before it were handled. (The first key into a list without a
    # selection selects its first entry, whatever the key: hence Home first.)
    keys Home End space Tab
    probe_wait focus date
    expect_eq "after Space on ' Gesperrt'" "$(probe get indicator get project)" "$(printf 'EIN\nP4711')"

    # A project chosen (P4711 on top, "---", then the file), then discarded with Escape.
    keys shift+Tab Home Down Down Down space
    probe_wait project P0815
    probe_wait indicator ANDERS
    keys Escape
    probe_wait indicator EIN
    expect_eq "strip after Escape" "$(probe get date get time get project get text get focus)" \
        "$(printf '2026-03-11\n08:00\nP4711\nAnalyse\nlist')"

    # Typing into the note marks the booking as changed; Escape brings the journal's back.
    keys shift+Tab
    probe_wait focus text
    type_text "x"
    probe_wait indicator ANDERS
    keys Escape
    probe_wait indicator EIN
    probe_wait text Analyse
    expect_file "$(year_file)" "$expected"

    # Enter without a change books a copy of the last booking; the list is filled anew.
    keys Return
    journal_line 2026-03-11 08:00 P4711 Analyse >>"$expected"
    wait_until 10 cmp -s "$(year_file)" "$expected" || expect_file "$(year_file)" "$expected"
    probe_wait selected -1

    # Space with nothing selected changes nothing.
    keys space Tab
    probe_wait focus date
    expect_eq "after Space without a selection" "$(probe get indicator get project get selected)" \
        "$(printf 'EIN\nP4711\n-1')"
    expect_file "$(year_file)" "$expected"
    kx_close
}

# The open day of yesterday: reported, "---" keeps yesterday's date, the end time is typed in
# and lands in the year file; the next choice takes today's date and time.
# close_open_day FILE DAY: the last booking, of DAY in FILE, was left open: the start-up says so,
# "---" keeps its date and time, and the end typed as 17:45 goes into FILE.
close_open_day() {
    local file=$1 day=$2 expected="$e2e_dir/expected.txt"
    journal_line "$day" 08:00 P4711 Entwicklung >"$expected"
    cp "$expected" "$file"
    kx_start
    probe_wait status "Erfassung gestern nicht abgeschlossen."
    probe_wait indicator EIN
    kx_focus
    probe_wait focus list
    # P4711 on top, then "---".
    keys Home Down space
    probe_wait project ---
    expect_eq "date and time kept" "$(probe get date get time)" "$(printf '%s\n08:00' "$day")"
    keys shift+Tab shift+Tab
    probe_wait focus time
    keys Home
    type_text "1745"
    probe_wait time 17:45
    keys Return
    probe_wait title "Zeiterfassung - ---"
    probe_wait indicator AUS
    journal_line "$day" 17:45 --- >>"$expected"
    expect_file "$file" "$expected"
}

scenario_open_day() {
    e2e_setup open_day
    write_test_projects
    close_open_day "$(year_file)" 2026-03-10
    # P4711 is still the last project booked, so it stays on top.
    keys Home space
    probe_wait project P4711
    expect_eq "a new day's choice" "$(probe get date get time)" "$(printf '%s\n%s' "$E2E_TODAY" "$E2E_TIME")"
    keys Escape
    probe_wait indicator AUS
    kx_close
}

# The first start of a new year shows the open 31 December, and its end goes into the old year's
# file; the new year's file keeps only its first pause line.
scenario_open_new_year() {
    E2E_NOW="2027-01-02 08:10" E2E_TODAY=2027-01-02 E2E_TIME=08:10
    e2e_setup open_new_year
    write_test_projects
    close_open_day "$e2e_dir/2026.txt" 2026-12-31
    pause_line 2027-01-02 08:10 >"$e2e_dir/expected.txt"
    expect_file "$e2e_dir/2027.txt" "$e2e_dir/expected.txt"
    kx_close
}

# A second start ends at once, with exit code 0 and no second window, and brings the running
# program back: restored when it was minimised, in front of the program the user was in.
scenario_second_start() {
    e2e_setup second_start
    start_after_pause
    probe minimize
    probe_wait iconic 1
    probe deactivate
    local code=0
    (cd "$e2e_dir" && LC_ALL=de_DE.UTF-8 KX_NOW="$E2E_NOW" timeout 20 wine "$e2e_dir/kx.exe") \
        </dev/null >/dev/null 2>&1 || code=$?
    expect_eq "exit code of the second start" "$code" 0
    expect_eq "main windows" "$(probe count)" 1
    probe_wait iconic 0
    probe_wait foreground main
    kx_close
}

# The placement is saved on close with its DPI and restored on a normal start, not on a minimised
# one; one saved at another DPI keeps the content's size.
scenario_placement() {
    e2e_setup placement
    write_test_projects
    printf '[Global]\r\nMainWindow=0 1 -1 -1 -1 -1 110 70 750 550\r\n' >"$e2e_dir/TORKKX.ini"
    kx_start
    probe_wait normal "110 70 750 550"
    probe move 60 40 700 500
    probe_wait rect "60 40 760 540"
    local placement
    placement=$(probe get placement)
    kx_close
    expect_eq "saved placement" "$(ini_value Global MainWindow)" "$placement 96"

    # Minimised: the window stays where the system puts it.
    (cd "$e2e_dir" && exec env LC_ALL=de_DE.UTF-8 KX_NOW="$E2E_NOW" wine start /wait /min kx.exe) \
        </dev/null >>"$e2e_dir/kx.log" 2>&1 &
    kx_pid=$!
    probe wait-window || die "no main window after the minimised start"
    probe_wait iconic 1
    [ "$(probe get normal)" != "60 40 760 540" ] || die "the minimised start restored the placement"
    probe close wait-gone || die "the program did not end"
    kx_wait_end
    expect_eq "exit code" "$kx_code" 0

    # Closed while minimised, it comes back as a window on the next normal start.
    kx_start
    probe_wait iconic 0
    kx_close

    # Saved at 192 DPI, the window comes back at 96 DPI with half the size at the same corner.
    printf '[Global]\r\nMainWindow=0 1 -1 -1 -1 -1 110 70 750 550 192\r\n' >"$e2e_dir/TORKKX.ini"
    kx_start
    probe_wait normal "110 70 430 310"
    kx_close
}

# A DDE client connects under any topic and its execute is acknowledged.
scenario_dde() {
    e2e_setup dde
    start_after_pause
    local topic
    for topic in System "irgendein Thema"; do
        wine "$E2E_BIN/ddeclient.exe" "$topic" "[Buchen(P4711)]" >"$e2e_dir/dde.log" ||
            die "execute under topic '$topic' not acknowledged: $(cat "$e2e_dir/dde.log")"
    done
    probe_wait indicator AUS
    kx_close
}

# The year file opens in the editor registered for ".txt" (a stand-in that records its command
# line); a line the user adds there shows in the strip when the main window is active again.
scenario_times_editor() {
    e2e_setup times_editor
    local record="$e2e_dir/editor-command-line.txt"
    register_editor
    start_after_pause KX_RECORD_FILE="$(windows_path "$record")" KX_RECORD_EVENT=kx-e2e-editor
    kx_focus
    keys alt+d z
    wait_until 15 test -s "$record" || die "the editor was not started"
    local year
    year=$(windows_path "$(year_file)")
    grep -qiF "\"$year\"" "$record" || die "the editor got '$(cat "$record")', not \"$year\""

    journal_line "$E2E_TODAY" 09:15 P0815 "im Editor" >>"$(year_file)"
    probe activate || die "the main window could not be activated"
    probe_wait project P0815
    probe_wait text "im Editor"
    probe_wait indicator EIN
    probe_wait title "Zeiterfassung - P0815"
    kx_close
}

# The week check: a start in another week than LastWeek stores the new week (11) and opens the
# export once; a start in the same week, or without LastWeek, only stores the week.
scenario_week_check() {
    e2e_setup week_check
    write_test_projects
    pause_line 2026-03-10 17:00 >"$(year_file)"
    write_settings Person=TST LastWeek=10
    kx_start
    wait_until 15 ini_is Installation LastWeek 11 ||
        die "LastWeek is '$(ini_value Installation LastWeek)', expected 11"
    probe wait-msgbox Export || die "the export was not offered"
    kx_close

    week_start_without_export
    write_settings Person=TST
    week_start_without_export
}

week_start_without_export() {
    kx_start
    wait_until 15 ini_is Installation LastWeek 11 ||
        die "LastWeek is '$(ini_value Installation LastWeek)', expected 11"
    probe_wait indicator AUS
    # Keys are handled after the commands the start-up posted: once the Tab has moved the
    # focus, the week check has run.
    kx_focus
    keys Tab
    probe_wait focus date
    expect_eq "windows besides the main window" "$(probe get msgbox)" ""
    kx_close
}

# A failed assertion shows its box, then the fatal box, and the process ends.
scenario_assertion() {
    e2e_setup assertion
    write_test_projects
    kx_launch KX_TEST_ASSERT=1
    probe wait-msgbox "ASSERT ERROR" || die "no assertion box"
    probe get msgbox >"$e2e_dir/box.txt"
    grep -qx "ASSERT ERROR" "$e2e_dir/box.txt" || die "assertion box: $(cat "$e2e_dir/box.txt")"
    probe press OK
    probe wait-msgbox "Das Programm wird beendet." || die "no fatal box after the assertion"
    probe press OK
    wait_until 15 kx_ended || die "the program is still running after the fatal box"
    kx_pid=""
}

"scenario_${1:?usage: scenarios.sh NAME}"
