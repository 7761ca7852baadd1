#!/usr/bin/env bash
# End-to-end scenarios of the report dialogs (statistics, export, detail view, weekly report):
# dialogs_reports.sh NAME runs one against the real program, driven by keys and clicks, and
# compares what the dialogs list, copy and write with what kxcli gives for the same year file.
here=$(cd "$(dirname "$0")" && pwd)
# A Wednesday in December 2003: the year of the prepared year file.
E2E_NOW=${E2E_NOW-"2003-12-17 09:30"}
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

YEAR_FILE=$here/../cli/data/journal/2003.txt


# kxcli ARGS...: the Windows kxcli on the scenario's folder at the program's moment.
kxcli() {
    wine "$E2E_BIN/kxcli.exe" --workdir "$(windows_path "$e2e_dir")" --now "$E2E_NOW" "$@" \
        2>/dev/null
}

# start_with_year_file [INI_LINE...]: the prepared year file, a settings file with the lines
# given, the program started.
start_with_year_file() {
    write_test_projects
    cp "$YEAR_FILE" "$e2e_dir/2003.txt"
    write_settings "$@"
    kx_start
}

# menu KEY: the item with access key KEY of the menu "&Bearbeiten".
menu() {
    kx_focus
    keys alt+b "$1"
}

# evaluate TITLE: "&Auswerten" by its access key, and the list is refilled.
evaluate() {
    keys alt+a
    dlg_wait enabled "$1" 2501 1
}

# chart_picture SVG: what the probe reports of the clipboard's pictures when they show the chart
# of the SVG file: the bitmap as large as the file's chart, as many bar pixels as its bars have.
chart_picture() {
    python3 - "$1" <<'EOF'
import sys, xml.dom.minidom as dom
svg = dom.parse(sys.argv[1]).documentElement
bars = sum(int(r.getAttribute("width")) * int(r.getAttribute("height"))
           for r in svg.getElementsByTagName("rect")
           if r.getAttribute("fill") not in ("#FFFFFF", "#808080"))
print("emf 1 bitmap %sx%s bluish %d" % (svg.getAttribute("width"), svg.getAttribute("height"), bars))
EOF
}
picture_is() { [ "$(probe get clipboard-picture | tr -d '\r')" = "$1" ]; }

# Statistics of the prepared year in each mode, with and without minutes; copies as text and as
# table; a second "&Statistik..." opens it afresh; Escape closes it.
scenario_statistics() {
    e2e_setup statistics
    start_with_year_file
    menu s
    dlg wait-dialog Statistik || die "no statistics after Alt+B, S"
    expect_eq "fields" "$(dlg text Statistik 3000; dlg text Statistik 3010; dlg text Statistik 3001; dlg text Statistik 3020)" \
        "$(printf '2003\n01-01\n2003\n12-31')"
    expect_eq "modes" "$(dlg items Statistik 3030)" "$(printf 'Projekt\nMonat\nWoche')"
    expect_eq "before the first evaluation: copy, detail" \
        "$(dlg enabled Statistik 2501; dlg enabled Statistik 2503)" "$(printf '0\n0')"

    local expected=$e2e_dir/expected.txt
    printf '%s\n' \
        "                   62,2 h  100,0 %" \
        "ABCDEFGHIJKLMNO     8,5 h   13,7 %" \
        "INT                20,9 h   33,6 %" \
        "K2                  6,0 h    9,6 %" \
        "KD                 26,6 h   42,8 %" \
        "kd                  0,3 h    0,4 %" \
        "kd 1                0,3 h    0,4 %" \
        "KD 4711            25,6 h   41,1 %" \
        "KD 4711 Test        3,5 h    5,5 %" >"$expected"
    evaluate Statistik
    expect_items Statistik 3100 "$expected"
    expect_eq "detail in mode Projekt" "$(dlg enabled Statistik 2503)" 1

    keys alt+k
    kxcli stats 2003 01-01 12-31 --svg "$(windows_path "$e2e_dir/chart.svg")" >"$expected"
    expect_clipboard "$expected"
    local picture
    picture=$(chart_picture "$e2e_dir/chart.svg")
    wait_until 10 picture_is "$picture" ||
        expect_eq "chart on the clipboard" "$(probe get clipboard-picture | tr -d '\r')" "$picture"
    screenshot "$E2E_WORK/../e2e-statistics-chart.png"
    click_control Statistik 3110
    dlg_wait checked Statistik 3110 1
    keys alt+k
    kxcli stats 2003 01-01 12-31 --table >"$expected"
    expect_clipboard "$expected"

    # Mode Monat (chosen in the drop-down list with the mouse and keys), hours and minutes.
    click_control Statistik 3040
    click_control Statistik 3030
    keys Down Return
    dlg_wait selected Statistik 3030 1
    evaluate Statistik
    kxcli stats 2003 01-01 12-31 --mode month --minutes >"$expected"
    expect_items Statistik 3100 "$expected"
    expect_eq "detail in mode Monat" "$(dlg enabled Statistik 2503)" 0
    keys alt+k
    kxcli stats 2003 01-01 12-31 --mode month --minutes --table >"$expected"
    expect_clipboard "$expected"

    # Mode Woche over a part of the year typed into the fields.
    click_control Statistik 3030
    keys Down Return
    dlg_wait selected Statistik 3030 2
    click_control Statistik 3010
    keys Home
    type_text 12-01
    click_control Statistik 3040
    evaluate Statistik
    kxcli stats 2003 12-01 12-31 --mode week >"$expected"
    expect_items Statistik 3100 "$expected"

    # The year typed into 3000 is the year of the to day too.
    click_control Statistik 3000
    keys Home
    type_text 2002
    dlg_wait text Statistik 3001 2002

    # Chosen again: the open one goes and a fresh one comes.
    menu s
    dlg_wait text Statistik 3000 2003
    dlg_wait items Statistik 3100 ""
    expect_eq "fresh mode, copy" "$(dlg selected Statistik 3030; dlg enabled Statistik 2501)" \
        "$(printf '0\n0')"
    keys Escape
    dlg wait-gone Statistik || die "Escape did not close the statistics"
    screenshot "$E2E_WORK/../e2e-statistics.png"
    kx_close
}

# "&Detail" and a double click open the detail view with the line's prefix (its first 12
# characters); shown again, the open view takes the new prefix; its copies equal kxcli's.
scenario_detail() {
    e2e_setup detail
    start_with_year_file
    menu s
    dlg wait-dialog Statistik || die "no statistics"
    evaluate Statistik
    local expected=$e2e_dir/expected.txt
    click_row Statistik 3100 4
    keys alt+d
    dlg wait-dialog Detailanzeige || die "no detail view after Alt+D"
    expect_eq "prefix, range" \
        "$(dlg text Detailanzeige 3000; dlg text Detailanzeige 3010; dlg text Detailanzeige 3020)" \
        "$(printf 'KD\n2003-01-01\n2003-12-31')"
    kxcli detail KD 2003-01-01 2003-12-31 >"$expected"
    expect_items Detailanzeige 3100 "$expected"

    # A 15-character project: the prefix is its first 12 characters.
    click_row Statistik 3100 1 2
    dlg_wait text Detailanzeige 3000 ABCDEFGHIJKL
    kxcli detail ABCDEFGHIJKL 2003-01-01 2003-12-31 >"$expected"
    expect_items Detailanzeige 3100 "$expected"

    click_row Statistik 3100 7 2
    dlg_wait text Detailanzeige 3000 "KD 4711"
    kxcli detail "KD 4711" 2003-01-01 2003-12-31 >"$expected"
    expect_items Detailanzeige 3100 "$expected"
    keys alt+k
    expect_clipboard "$expected"
    click_control Detailanzeige 3110
    dlg_wait checked Detailanzeige 3110 1
    keys alt+k
    kxcli detail "KD 4711" 2003-01-01 2003-12-31 --table >"$expected"
    expect_clipboard "$expected"
    screenshot "$E2E_WORK/../e2e-detail.png"
    keys Escape
    dlg wait-gone Detailanzeige || die "Escape did not close the detail view"
    dlg wait-dialog Statistik || die "the statistics went with the detail view"
    kx_close
}

# The export writes the file kxcli writes, and its "&CSV..." the periods kxcli writes; choosing it
# while the statistics is open replaces the statistics; without a usable person identifier
# message 51 comes instead.
scenario_export() {
    e2e_setup export
    start_with_year_file "Person=ABC"
    menu s
    dlg wait-dialog Statistik || die "no statistics"
    menu e
    dlg wait-dialog Export || die "no export after Alt+B, E with the statistics open"
    dlg wait-gone Statistik || die "the statistics stayed open beside the export"
    expect_eq "file name" "$(dlg text Export 3040)" "$(windows_path "$e2e_dir")\\2003ABC.txt"
    mkdir -p "$e2e_dir/cli"
    # "&CSV..." offers <year><person>.csv in the export folder and writes what kxcli periods
    # prints; the export stays open.
    keys alt+c
    local csv_title="Zeiträume als CSV-Datei speichern"
    dlg --utf8 wait-dialog "$csv_title" || die "no file selection after Alt+C"
    screenshot "$E2E_WORK/../e2e-export-csv.png"
    keys Return
    dlg --utf8 wait-gone "$csv_title" || die "the file selection stayed open"
    wait_until 15 test -e "$e2e_dir/2003ABC.csv" || die "no CSV file written"
    kxcli periods 2003 01-01 12-31 >"$e2e_dir/cli/2003ABC.csv"
    expect_file "$e2e_dir/2003ABC.csv" "$e2e_dir/cli/2003ABC.csv"
    dlg wait-dialog Export || die "the export went with the CSV file"
    # The focus stays on "&CSV...", so Return would press it again.
    keys alt+e
    dlg wait-gone Export || die "the export did not close after writing"
    kxcli --exportdir "$(windows_path "$e2e_dir/cli")" --person ABC export 2003 01-01 12-31 \
        >/dev/null
    expect_file "$e2e_dir/2003ABC.txt" "$e2e_dir/cli/2003ABC.txt"
    kx_close

    start_with_year_file "Person=A?C"
    menu e
    probe wait-msgbox "In den Einstellungen ist keine Exportkennung angegeben." ||
        die "no message 51 for a person identifier with '?'"
    probe press OK
    kx_close
}

# A start in a new calendar week with LastWeek set opens the export once; closed, the start-up
# checks go on and it does not come again.
scenario_export_startup() {
    E2E_NOW="2003-12-17 09:30"
    e2e_setup export_startup
    start_with_year_file "Person=ABC" "LastWeek=50"
    dlg wait-dialog Export || die "the export did not open at the start of a new week"
    keys Escape
    dlg wait-gone Export || die "Escape did not close the export"
    wait_until 15 ini_is Installation LastWeek 51 || die "LastWeek is not 51"
    probe_wait title "Zeiterfassung - ---"
    expect_eq "dialogs after the start-up" "$(dlg dialogs)" ""
    [ ! -e "$e2e_dir/2003ABC.txt" ] || die "Escape wrote an export file"
    kx_close
}

# The weekly report opens on last week (here across the turn of the year), steps with "-" and
# "+" over the year boundary, lists and copies as kxcli does, and opens the detail view from its
# totals line with every period of the week.
scenario_weekly() {
    E2E_NOW="2004-01-07 09:30"
    e2e_setup weekly
    start_with_year_file
    menu w
    dlg wait-dialog Wochenbericht || die "no weekly report after Alt+B, W"
    week_is() {
        expect_eq "$1" "$(dlg text Wochenbericht 3000; dlg text Wochenbericht 3010;
            dlg text Wochenbericht 3001; dlg text Wochenbericht 3020)" \
            "$(printf '%s\n%s\n%s\n%s' "$2" "$3" "$2" "$4")"
    }
    week_is "last week" 2003 12-29 01-04
    click_control Wochenbericht 2511
    dlg_wait text Wochenbericht 3010 01-05
    week_is "a week on, into the new year" 2004 01-05 01-11
    click_control Wochenbericht 2510
    dlg_wait text Wochenbericht 3010 12-29
    week_is "back into the old year" 2003 12-29 01-04
    local i
    for i in 1 2 3; do click_control Wochenbericht 2510; done
    dlg_wait text Wochenbericht 3010 12-08
    week_is "three weeks back" 2003 12-08 12-14

    local expected=$e2e_dir/expected.txt
    evaluate Wochenbericht
    kxcli week 2003 12-08 12-14 >"$expected"
    expect_items Wochenbericht 3100 "$expected"
    keys alt+k
    expect_clipboard "$expected"
    click_control Wochenbericht 3110
    dlg_wait checked Wochenbericht 3110 1
    keys alt+k
    kxcli week 2003 12-08 12-14 --table >"$expected"
    expect_clipboard "$expected"
    screenshot "$E2E_WORK/../e2e-weekly.png"

    # The totals line (the last) gives the empty prefix: every period of the week.
    local last
    last=$(($(dlg items Wochenbericht 3100 | wc -l) - 1))
    click_row Wochenbericht 3100 "$last"
    keys alt+d
    dlg wait-dialog Detailanzeige || die "no detail view from the totals line"
    dlg_wait text Detailanzeige 3010 2003-12-08
    kxcli detail "" 2003-12-08 2003-12-14 >"$expected"
    expect_items Detailanzeige 3100 "$expected"
    keys Escape
    dlg wait-gone Detailanzeige || die "Escape did not close the detail view"

    menu w
    dlg wait-dialog Wochenbericht || die "the weekly report went at the second choice"
    expect_eq "the open report keeps its week" "$(dlg text Wochenbericht 3010)" 12-08
    keys Escape
    dlg wait-gone Wochenbericht || die "Escape did not close the weekly report"
    kx_close
}

"scenario_${1:?usage: dialogs_reports.sh NAME}"
