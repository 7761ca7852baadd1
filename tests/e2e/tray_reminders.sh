#!/usr/bin/env bash
# The notification-area icon and the reminders of the real program: tray_reminders.sh NAME runs
# one scenario. A stand-in of the notification area records what the program hands it (tooltip,
# balloon, icon colour); the probe sends the icon's messages as the shell would, and moves the
# program's clock with the test hook of a run with a fixed clock.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

GREEN=00A800 RED=D00000 AMBER=F0A800
QUESTION=Abwesenheit
DASH=$(printf '\226')
WM_LBUTTONUP=514 WM_RBUTTONUP=517

# start_tray: the stand-in notification area, recording into tray.log of the program folder.
tray_log=""
start_tray() {
    tray_log="$e2e_dir/tray.log"
    (cd "$e2e_dir" && exec wine "$E2E_BIN/traycatcher.exe" "$(windows_path "$tray_log")") \
        </dev/null >/dev/null 2>&1 &
    e2e_cleanups+=("kill $!")
    probe --class Shell_TrayWnd wait title "tray catcher" >/dev/null ||
        die "the notification area stand-in did not start"
}

# tray_has PATTERN: a recorded call matches the extended regular expression (Windows-1252 bytes).
tray_has() { [ -f "$tray_log" ] && LC_ALL=C grep -aEq "$1" "$tray_log"; }
tray_wait() { wait_until 15 tray_has "$1" || die "the notification area got no '$1': $(cat "$tray_log")"; }
tray_count() { LC_ALL=C grep -acE "$1" "$tray_log" || true; }

# icon EVENT: the shell's message of the icon (its id and callback as the program registered
# them) with a mouse event.
icon() {
    local id callback
    id=$(LC_ALL=C grep -a '^ADD|' "$tray_log" | tail -1 | cut -d'|' -f2)
    callback=$(LC_ALL=C grep -a '^ADD|' "$tray_log" | tail -1 | cut -d'|' -f3)
    probe post "$callback" "$id" "$1"
}

# tray_menu_choose KEY...: right-click on the icon, then keys in its menu. (The keys go to the X
# window with the input focus; without a window manager a menu of a window that already was the
# foreground one does not take it, so the main window gets it as it would on Windows.)
tray_menu_choose() {
    show_menu 1100 900
    keys "$@"
    probe_wait popup 0
}
show_menu() {
    xdotool mousemove "$1" "$2"
    icon $WM_RBUTTONUP
    probe_wait popup 1
    xdotool windowfocus "$(probe get xid)"
}

added_twice() { [ "$(tray_count '^ADD\|')" -ge 2 ]; }
not_in_front() { [ "$(probe get foreground)" != main ]; }

# The default folder: two projects, P0815 then P4711 booked this morning.
prepare_folder() {
    write_test_projects
    { journal_line "$E2E_TODAY" 08:00 P0815; journal_line "$E2E_TODAY" 09:00 P4711 Analyse; } >"$(year_file)"
}

# The icon follows the indicator and tells the running booking; its menu books the last projects
# at this minute; a left click brings the main window back, also from the notification area
# alone; the icon comes back when Explorer restarts; "Beenden" ends the program.
scenario_tray() {
    e2e_setup tray
    prepare_folder
    printf '[Optionen]\r\nTrayMinimize=1\r\n' >"$e2e_dir/TORKKX.ini"
    start_tray
    kx_start
    tray_wait "^ADD\|[0-9]+\|[0-9]+\|P4711 seit 09:00 $DASH heute 1:30\|\|$GREEN$"
    kx_focus
    keys Home space
    probe_wait indicator ANDERS
    tray_wait "^MODIFY\|.*\|$AMBER$"
    keys Escape
    probe_wait indicator EIN
    screenshot_menu

    # The menu lists P4711 (running, checked), P0815, "---", then "Öffnen" and "Beenden".
    tray_menu_choose Down Down Return
    probe_wait title "Zeiterfassung - P0815"
    local expected="$e2e_dir/expected.txt"
    { journal_line "$E2E_TODAY" 08:00 P0815; journal_line "$E2E_TODAY" 09:00 P4711 Analyse
        journal_line "$E2E_TODAY" "$E2E_TIME" P0815; } >"$expected"
    expect_file "$(year_file)" "$expected"
    expect_eq "list after the menu's booking" "$(probe get list | head -2)" \
        "$(printf 'P0815           Wartung\n---')"
    tray_wait "^MODIFY\|.*\|P0815 seit 09:30 $DASH heute 1:30\|\|$GREEN$"
    tray_menu_choose Down Down Down Return
    probe_wait indicator AUS
    journal_line "$E2E_TODAY" "$E2E_TIME" --- >>"$expected"
    expect_file "$(year_file)" "$expected"
    tray_wait "^MODIFY\|.*\|Pause seit 09:30 $DASH heute 1:30\|\|$RED$"

    # Minimised, the window leaves the screen and the taskbar; the icon brings it back (once
    # the window has lost the foreground, as by the time a user clicks the icon).
    probe minimize
    probe_wait visible 0
    wait_until 10 not_in_front || die "the hidden window stayed the foreground window"
    icon $WM_LBUTTONUP
    probe_wait visible 1
    probe_wait iconic 0
    probe_wait foreground main

    # What Explorer tells every window when it starts again.
    probe post-named TaskbarCreated
    wait_until 15 added_twice || die "the icon did not come back"
    tray_menu_choose Up Return
    probe wait-gone || die "\"Beenden\" did not end the program"
    kx_wait_end
    expect_eq "exit code" "$kx_code" 0
    tray_wait '^DELETE\|'
}

# The menu over the main window, for the README.
screenshot_menu() {
    show_menu 700 500
    screenshot "$E2E_WORK/../e2e-tray-menu.png"
    keys Escape
    probe_wait popup 0
}

# Time away while a project runs is asked about in a window that leaves the keyboard where it
# is; Yes books the pause and the project again, No nothing; time away in a pause is not asked
# about. A project running for ten hours is told once.
scenario_idle_question() {
    e2e_setup idle_question
    write_test_projects
    local expected="$e2e_dir/expected.txt"
    journal_line "$E2E_TODAY" 02:00 P4711 Analyse >"$expected"
    cp "$expected" "$(year_file)"
    start_tray
    E2E_NOW="$E2E_TODAY 12:00" kx_start
    probe_wait indicator EIN
    probe deactivate
    probe input "$E2E_TODAY 12:02" input "$E2E_TODAY 12:47"
    tray_wait "^MODIFY\|.*\|P4711 l.uft seit 10 Stunden\.\|$"
    dlg_wait text $QUESTION 1241 "Keine Eingabe von 12:02 bis 12:47. Als Pause buchen?"
    tray_wait "\|Keine Eingabe von 12:02 bis 12:47\. Als Pause buchen\?\|$"
    [ "$(probe get foreground)" != "#32770 $QUESTION" ] || die "the question took the keyboard"
    screenshot "$E2E_WORK/../e2e-idle-question.png"
    click_control $QUESTION 1
    dlg wait-gone $QUESTION >/dev/null || die "the question stayed after Yes"
    { journal_line "$E2E_TODAY" 12:02 ---; journal_line "$E2E_TODAY" 12:47 P4711 Analyse; } >>"$expected"
    wait_until 10 cmp -s "$(year_file)" "$expected" || expect_file "$(year_file)" "$expected"
    probe_wait indicator EIN

    probe input "$E2E_TODAY 13:00" input "$E2E_TODAY 13:40"
    dlg_wait text $QUESTION 1241 "Keine Eingabe von 13:00 bis 13:40. Als Pause buchen?"
    click_control $QUESTION 2
    dlg wait-gone $QUESTION >/dev/null || die "the question stayed after No"
    expect_file "$(year_file)" "$expected"

    # Inside a pause nothing is asked (each input is handled before the probe returns).
    kx_focus
    keys Home Down space Return
    probe_wait indicator AUS
    probe input "$E2E_TODAY 14:00" input "$E2E_TODAY 15:00"
    expect_eq "dialogs after time away in a pause" "$(dlg dialogs)" ""
    expect_eq "long-running notices" "$(tray_count 'seit 10 Stunden')" 1
    kx_close
}

# The end of the session while a project runs is noted; the next morning "---" closes the open
# day at that moment, with one Enter.
scenario_shutdown_moment() {
    e2e_setup shutdown_moment
    write_test_projects
    local expected="$e2e_dir/expected.txt"
    journal_line 2026-03-10 08:00 P4711 Entwicklung >"$expected"
    cp "$expected" "$(year_file)"
    E2E_NOW="2026-03-10 17:42" kx_start
    # The window is there before the program has read the journal: the session ends once it
    # shows the running project, as a user would see it.
    probe_wait indicator EIN
    probe end-session || die "the end of the session was refused"
    expect_eq "noted moment" "$(ini_value Optionen ShutdownAt)" "2026-03-10 17:42"
    # Windows ends the process without closing the window.
    probe terminate
    kx_wait_end

    kx_start
    probe_wait status "Erfassung gestern nicht abgeschlossen."
    kx_focus
    keys Home Down space
    probe_wait project ---
    expect_eq "strip for the pause" "$(probe get date get time)" "$(printf '2026-03-10\n17:42')"
    keys Return
    probe_wait indicator AUS
    journal_line 2026-03-10 17:42 --- >>"$expected"
    expect_file "$(year_file)" "$expected"
    expect_eq "moment after the booking" "$(ini_value Optionen ShutdownAt)" ""
    kx_close
}

OPTIONS=Optionen
AUTOSTART=3000 TRAY=3010 IDLE=3020 IDLE_MINUTES=3021 SHUTDOWN=3030 LONG=3040 LONG_MINUTES=3041
SAVE=2500
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run_value() { wine reg query "$RUN_KEY" /v Korvex 2>/dev/null | tr -d '\r' | awk '$1 == "Korvex" { $1 = $2 = ""; sub(/^ +/, ""); print }'; }

# options_show: the dialog's values as "start tray idle minutes shutdown long minutes".
options_show() {
    local id values=""
    for id in $AUTOSTART $TRAY $IDLE; do values+="$(dlg checked $OPTIONS $id) "; done
    values+="$(dlg text $OPTIONS $IDLE_MINUTES) "
    for id in $SHUTDOWN $LONG; do values+="$(dlg checked $OPTIONS $id) "; done
    echo "$values$(dlg text $OPTIONS $LONG_MINUTES)"
}
open_options() {
    kx_focus
    keys alt+e o
    dlg wait-dialog $OPTIONS >/dev/null || die "no options dialog"
}
# type_minutes ID TEXT: the minutes field emptied and typed anew.
type_minutes() {
    click_control $OPTIONS "$1"
    keys End BackSpace BackSpace BackSpace BackSpace
    type_text "$2"
}

# The options dialog shows the defaults, saves what is changed (the start with Windows into the
# per-user Run key), shows it again, refuses minutes out of range, and the reminders follow it:
# with the question switched off, time away is not asked about.
scenario_options() {
    e2e_setup options
    write_test_projects
    journal_line "$E2E_TODAY" 08:00 P4711 >"$(year_file)"
    wine reg delete "$RUN_KEY" /v Korvex /f >/dev/null 2>&1 || true
    e2e_cleanups+=("wine reg delete '$RUN_KEY' /v Korvex /f >/dev/null 2>&1")
    kx_start
    open_options
    expect_eq "defaults" "$(options_show)" "0 0 1 15 1 1 600"
    click_control $OPTIONS $AUTOSTART
    click_control $OPTIONS $TRAY
    type_minutes $IDLE_MINUTES 20
    click_control $OPTIONS $LONG
    dlg_wait enabled $OPTIONS $LONG_MINUTES 0
    screenshot "$E2E_WORK/../e2e-options.png"
    click_control $OPTIONS $SAVE
    dlg wait-gone $OPTIONS >/dev/null || die "the options dialog stayed after saving"
    local section=""
    for key in TrayMinimize IdleQuestion IdleMinutes ShutdownMoment LongNotice LongMinutes; do
        section+="$(ini_value Optionen $key) "
    done
    expect_eq "saved options" "$section" "1 1 20 1 0 600 "
    expect_eq "start with Windows" "$(run_value)" "\"$(windows_path "$e2e_dir")\\kx.exe\""

    open_options
    expect_eq "options shown again" "$(options_show)" "1 1 1 20 1 0 600"
    type_minutes $IDLE_MINUTES 0
    click_control $OPTIONS $SAVE
    probe wait-msgbox "Bitte Minuten von 1 bis 1440 angeben." || die "minutes 0 were taken"
    probe press OK
    expect_eq "dialog after refused minutes" "$(dlg dialogs)" $OPTIONS
    keys Escape
    probe wait-msgbox "nderungen speichern?" || die "Escape did not offer the changes"
    probe press Nein
    dlg wait-gone $OPTIONS >/dev/null || die "the options dialog stayed after No"
    expect_eq "minutes after No" "$(ini_value Optionen IdleMinutes)" 20

    open_options
    click_control $OPTIONS $AUTOSTART
    click_control $OPTIONS $IDLE
    click_control $OPTIONS $SAVE
    dlg wait-gone $OPTIONS >/dev/null || die "the options dialog stayed after saving"
    expect_eq "start with Windows switched off" "$(run_value)" ""
    probe input "$E2E_TODAY 10:00" input "$E2E_TODAY 11:00"
    expect_eq "dialogs after time away without the question" "$(dlg dialogs)" ""
    kx_close
}

"scenario_${1:?usage: tray_reminders.sh NAME}"
