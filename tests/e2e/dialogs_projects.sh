#!/usr/bin/env bash
# The project dialog and the directory settings of the real program: dialogs_projects.sh NAME
# runs one scenario in a program folder of its own, driven by keys and clicks, with the files
# on disk checked byte for byte.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

PROJECTS="Projekte"
DIRECTORIES="Verzeichnisse einstellen"
# Controls of the project dialog and of the directory settings.
PROJ_ID=3000 PROJ_DESCRIPTION=3010 PROJ_LIST=3100
DIR_WORK=3000 DIR_WORK_BROWSE=3001 DIR_COMMON=3010 DIR_EXPORT=3020 DIR_PERSON=3030

dialog_count() { dlg dialogs | grep -c . || true; }

# lines LINE...: the lines joined by LF, as the probes print a list.
lines() { printf '%s\n' "$@" | head -c -1; }

# A year file whose last booking is a pause of yesterday, and the scenario's project file.
start_with_projects() {
    pause_line 2026-03-10 17:00 >"$(year_file)"
    write_projects "; Projekte der Tests" \
        "P4711           Kundenprojekt Nord" \
        "; intern" \
        "P0815           Wartung" \
        " Gesperrt       beginnt mit Leerzeichen"
    kx_start "$@"
}

# choose MENU_KEYS TITLE: the menu item by its access keys from the main window.
choose() {
    kx_focus
    # shellcheck disable=SC2086
    keys $1
    dlg wait-dialog "$2" || die "'$2' did not open"
    probe_wait active "#32770"
}

# clear_and_type TITLE ID TEXT: the field gets the focus by a click, its text is replaced by
# typing.
clear_and_type() {
    focus_control "$1" "$2"
    keys Home shift+End Delete
    [ -z "$3" ] || type_text "$3"
}

# select_row TITLE ID INDEX: a real click on a row, then the row is selected.
select_row() {
    click_row "$1" "$2" "$3"
    dlg_wait selected "$1" "$2" "$3"
}

# no_message_box [TITLE]: no question or warning is shown; only the dialog TITLE is open.
no_message_box() { expect_eq "open dialogs" "$(dlg dialogs)" "${1:-}"; }

# The project dialog from its menu item, brought to the front by a second choice; adding,
# changing and deleting entries, saved with CR LF and the comments in place; the main list
# follows once the dialog has closed.
scenario_projects_edit() {
    e2e_setup projects_edit
    start_with_projects
    choose "alt+d p" "$PROJECTS"
    expect_eq "dialog list" "$(dlg items "$PROJECTS" $PROJ_LIST)" "$(lines \
        "P4711           Kundenprojekt Nord" "P0815           Wartung" \
        " Gesperrt       beginnt mit Leerzeichen")"
    dlg_wait selected "$PROJECTS" $PROJ_LIST 0
    dlg_wait text "$PROJECTS" $PROJ_ID P4711
    dlg_wait text "$PROJECTS" $PROJ_DESCRIPTION "Kundenprojekt Nord"

    choose "alt+d p" "$PROJECTS"
    expect_eq "dialogs after the second choice" "$(dialog_count)" 1

    # A new entry before P0815, typed into both fields: the line follows every key.
    select_row "$PROJECTS" $PROJ_LIST 1
    dlg_wait text "$PROJECTS" $PROJ_ID P0815
    keys alt+a
    dlg_wait items "$PROJECTS" $PROJ_LIST "$(lines "P4711           Kundenprojekt Nord" "" \
        "P0815           Wartung" " Gesperrt       beginnt mit Leerzeichen")"
    dlg_wait selected "$PROJECTS" $PROJ_LIST 1
    dlg_wait text "$PROJECTS" $PROJ_ID ""
    keys alt+p
    type_text "P9000"
    dlg_wait items "$PROJECTS" $PROJ_LIST "$(lines "P4711           Kundenprojekt Nord" \
        "P9000           " "P0815           Wartung" " Gesperrt       beginnt mit Leerzeichen")"
    keys alt+b
    type_text "Neues Projekt"

    # P4711 becomes P4712; " Gesperrt" goes.
    select_row "$PROJECTS" $PROJ_LIST 0
    clear_and_type "$PROJECTS" $PROJ_ID P4712
    select_row "$PROJECTS" $PROJ_LIST 3
    keys alt+l
    dlg_wait items "$PROJECTS" $PROJ_LIST "$(lines "P4712           Kundenprojekt Nord" \
        "P9000           Neues Projekt" "P0815           Wartung")"
    dlg_wait selected "$PROJECTS" $PROJ_LIST 2

    keys alt+s
    local expected="$e2e_dir/expected.txt"
    # The new entry stands right before P0815, so after the comment that precedes it.
    printf '%s\r\n' "; Projekte der Tests" "P4712           Kundenprojekt Nord" "; intern" \
        "P9000           Neues Projekt" "P0815           Wartung" >"$expected"
    wait_until 10 cmp -s "$e2e_dir/Projekte.txt" "$expected" ||
        expect_file "$e2e_dir/Projekte.txt" "$expected"

    # Saved: Escape closes without a question, and the main list is read again.
    keys Escape
    dlg wait-gone "$PROJECTS" || die "Escape did not close the project dialog"
    no_message_box
    probe_wait list "$(lines "---" "P4712           Kundenprojekt Nord" \
        "P9000           Neues Projekt" "P0815           Wartung")"
    kx_close
}

# "&Verwerfen" brings the file's entries back; the close question after typing: No writes
# nothing, Yes saves; after a deletion alone there is no question.
scenario_projects_discard() {
    e2e_setup projects_discard
    start_with_projects
    local before="$e2e_dir/before.txt"
    cp "$e2e_dir/Projekte.txt" "$before"
    choose "alt+d p" "$PROJECTS"
    local listed
    listed=$(dlg items "$PROJECTS" $PROJ_LIST)
    clear_and_type "$PROJECTS" $PROJ_DESCRIPTION "Nord und Ost"
    dlg_wait items "$PROJECTS" $PROJ_LIST "$(lines "P4711           Nord und Ost" \
        "P0815           Wartung" " Gesperrt       beginnt mit Leerzeichen")"
    keys alt+v
    dlg_wait items "$PROJECTS" $PROJ_LIST "$listed"
    dlg_wait text "$PROJECTS" $PROJ_DESCRIPTION "Kundenprojekt Nord"

    clear_and_type "$PROJECTS" $PROJ_DESCRIPTION "Nord"
    keys Escape
    probe wait-msgbox "nderungen speichern?" || die "no question after typing"
    probe press Nein
    dlg wait-gone "$PROJECTS" || die "the dialog stayed open"
    expect_file "$e2e_dir/Projekte.txt" "$before"

    choose "alt+d p" "$PROJECTS"
    keys alt+l
    dlg_wait items "$PROJECTS" $PROJ_LIST "$(lines "P0815           Wartung" \
        " Gesperrt       beginnt mit Leerzeichen")"
    keys Escape
    dlg wait-gone "$PROJECTS" || die "the dialog stayed open after a deletion"
    no_message_box
    expect_file "$e2e_dir/Projekte.txt" "$before"

    choose "alt+d p" "$PROJECTS"
    clear_and_type "$PROJECTS" $PROJ_DESCRIPTION "Nord"
    keys Escape
    probe wait-msgbox "nderungen speichern?" || die "no question after typing"
    probe press Ja
    dlg wait-gone "$PROJECTS" || die "the dialog stayed open"
    printf '%s\r\n' "; Projekte der Tests" "P4711           Nord" "; intern" \
        "P0815           Wartung" " Gesperrt       beginnt mit Leerzeichen" >"$before"
    expect_file "$e2e_dir/Projekte.txt" "$before"
    kx_close
}

# A project file that cannot be written: Escape or the close box, then "Ja", warn and keep the
# dialog open with the typed change; once the file can be written, the close box saves it.
scenario_projects_save_fails() {
    e2e_setup projects_save_fails
    start_with_projects
    local file="$e2e_dir/Projekte.txt" before="$e2e_dir/before.txt"
    cp "$file" "$before"
    chmod a-w "$file"
    e2e_cleanups+=("chmod u+w '$file'")
    choose "alt+d p" "$PROJECTS"
    clear_and_type "$PROJECTS" $PROJ_DESCRIPTION "Nord"
    local changed way
    changed=$(lines "P4711           Nord" "P0815           Wartung" \
        " Gesperrt       beginnt mit Leerzeichen")
    dlg_wait items "$PROJECTS" $PROJ_LIST "$changed"
    for way in Escape close-box; do
        if [ "$way" = Escape ]; then keys Escape; else dlg close-box "$PROJECTS"; fi
        probe wait-msgbox "nderungen speichern?" >/dev/null || die "no question ($way)"
        probe press Ja >/dev/null || die "no button Ja ($way)"
        probe wait-msgbox "Kann Projektdatei" >/dev/null || die "no warning ($way)"
        probe press OK >/dev/null || die "no button OK ($way)"
        dlg_wait items "$PROJECTS" $PROJ_LIST "$changed"
        expect_eq "open dialogs after $way" "$(dlg dialogs)" "$PROJECTS"
        expect_file "$file" "$before"
    done
    # Ending the program asks too: "Abbrechen", or a save that fails, keeps it running with the
    # dialog and its changes.
    for way in Abbrechen Ja; do
        kx_focus
        keys ctrl+x
        probe wait-msgbox "nderungen speichern?" >/dev/null || die "no question at the end ($way)"
        probe press "$way" >/dev/null || die "no button $way at the end"
        if [ "$way" = Ja ]; then
            probe wait-msgbox "Kann Projektdatei" >/dev/null || die "no warning at the end"
            probe press OK >/dev/null || die "no button OK at the end"
        fi
        dlg_wait items "$PROJECTS" $PROJ_LIST "$changed"
        kx_ended && die "the program ended after $way"
        expect_eq "open dialogs after $way at the end" "$(dlg dialogs)" "$PROJECTS"
    done

    chmod u+w "$file"
    dlg close-box "$PROJECTS"
    probe wait-msgbox "nderungen speichern?" >/dev/null || die "no question at the close box"
    probe press Ja >/dev/null || die "no button Ja"
    dlg wait-gone "$PROJECTS" || die "the dialog stayed open after saving"
    printf '%s\r\n' "; Projekte der Tests" "P4711           Nord" "; intern" \
        "P0815           Wartung" " Gesperrt       beginnt mit Leerzeichen" >"$before"
    expect_file "$file" "$before"
    kx_close
}

# Someone else saves the shared file while the dialog is open: saving asks; No shows their
# file, Yes overwrites it.
scenario_projects_shared() {
    e2e_setup projects_shared
    start_with_projects
    choose "alt+d p" "$PROJECTS"
    clear_and_type "$PROJECTS" $PROJ_DESCRIPTION "von mir"
    local theirs="$e2e_dir/theirs.txt"
    printf '%s\r\n' "P4711           Kundenprojekt Nord" "P0815           Wartung" \
        "P7000           von jemand anderem" >"$theirs"
    cp "$theirs" "$e2e_dir/Projekte.txt"
    keys alt+s
    probe wait-msgbox "wurde inzwischen ge" || die "no question about the changed file"
    probe press Nein
    dlg_wait items "$PROJECTS" $PROJ_LIST "$(lines "P4711           Kundenprojekt Nord" \
        "P0815           Wartung" "P7000           von jemand anderem")"
    expect_file "$e2e_dir/Projekte.txt" "$theirs"

    # Their file is now the one read: saving asks nothing.
    clear_and_type "$PROJECTS" $PROJ_DESCRIPTION "von mir"
    keys alt+s
    printf '%s\r\n' "P4711           von mir" "P0815           Wartung" \
        "P7000           von jemand anderem" >"$theirs"
    wait_until 10 cmp -s "$e2e_dir/Projekte.txt" "$theirs" ||
        expect_file "$e2e_dir/Projekte.txt" "$theirs"
    no_message_box "$PROJECTS"

    printf '%s\r\n' "P1234           noch einmal anders" >"$e2e_dir/Projekte.txt"
    clear_and_type "$PROJECTS" $PROJ_DESCRIPTION "Nord"
    keys alt+s
    probe wait-msgbox "wurde inzwischen ge" || die "no question about the changed file"
    probe press Ja
    printf '%s\r\n' "P4711           Nord" "P0815           Wartung" \
        "P7000           von jemand anderem" >"$theirs"
    wait_until 10 cmp -s "$e2e_dir/Projekte.txt" "$theirs" ||
        expect_file "$e2e_dir/Projekte.txt" "$theirs"
    keys Escape
    dlg wait-gone "$PROJECTS" || die "Escape did not close the project dialog"
    kx_close
}

# "&Editor..." closes the dialog and opens the project file in the editor registered for .txt.
scenario_projects_editor() {
    e2e_setup projects_editor
    local record="$e2e_dir/editor-command-line.txt"
    register_editor
    start_with_projects KX_RECORD_FILE="$(windows_path "$record")" KX_RECORD_EVENT=kx-e2e-editor
    choose "alt+d p" "$PROJECTS"
    keys alt+e
    dlg wait-gone "$PROJECTS" || die "\"&Editor...\" did not close the dialog"
    wait_until 15 test -s "$record" || die "the editor was not started"
    local file
    file=$(windows_path "$e2e_dir/Projekte.txt")
    grep -qiF "\"$file\"" "$record" || die "the editor got '$(cat "$record")', not \"$file\""
    kx_close
}

# A start with a person set; the week check has stored the week before the dialogs are used.
start_with_settings() {
    write_settings Person=TST
    start_with_projects
    wait_until 15 ini_is Installation LastWeek 11 || die "the week check stored no week"
}

# The program's folder as the program shows it.
program_folder() {
    local folder
    folder=$(windows_path "$e2e_dir")
    echo "${folder%\\}\\"
}

# The directory settings from their menu item; a new work folder typed with backslashes and
# without separator is saved with "/" appended, without a question, and the next booking lands
# there, after the pause line that begins the new year file.
scenario_directories_save() {
    e2e_setup directories_save
    start_with_settings
    local before="$e2e_dir/2026-before.txt"
    cp "$(year_file)" "$before"
    choose "alt+e v" "$DIRECTORIES"
    local folder
    folder=$(program_folder)
    dlg_wait text "$DIRECTORIES" $DIR_WORK "$folder"
    dlg_wait text "$DIRECTORIES" $DIR_COMMON "$folder"
    dlg_wait text "$DIRECTORIES" $DIR_EXPORT "$folder"
    dlg_wait text "$DIRECTORIES" $DIR_PERSON TST
    choose "alt+e v" "$DIRECTORIES"
    expect_eq "dialogs after the second choice" "$(dialog_count)" 1

    clear_and_type "$DIRECTORIES" $DIR_WORK 'neu\zeiten'
    keys alt+s
    dlg wait-gone "$DIRECTORIES" || die "\"&Speichern\" did not close the dialog"
    no_message_box
    expect_eq "WorkDir" "$(ini_value Installation WorkDir)" 'neu\zeiten/'
    expect_eq "CommonDir" "$(ini_value Installation CommonDir)" "$folder"
    expect_eq "Person" "$(ini_value Installation Person)" TST

    local expected="$e2e_dir/expected.txt"
    pause_line "$E2E_TODAY" "$E2E_TIME" >"$expected"
    wait_until 10 test -f "$e2e_dir/neu/zeiten/2026.txt" || die "no year file in the new folder"
    expect_file "$e2e_dir/neu/zeiten/2026.txt" "$expected"
    kx_focus
    double_click_row 1
    probe_wait project P4711
    keys Return
    probe_wait indicator EIN
    journal_line "$E2E_TODAY" "$E2E_TIME" P4711 >>"$expected"
    expect_file "$e2e_dir/neu/zeiten/2026.txt" "$expected"
    expect_file "$(year_file)" "$before"

    # The stored folder shows with its separator: Escape asks nothing.
    choose "alt+e v" "$DIRECTORIES"
    dlg_wait text "$DIRECTORIES" $DIR_WORK 'neu\zeiten/'
    keys Escape
    dlg wait-gone "$DIRECTORIES" || die "Escape did not close the dialog"
    no_message_box
    kx_close
}

# The person is stored cut to 10 without a question after "&Speichern"; "&Verwerfen" writes
# nothing, also after a folder was picked with "..."; Escape after a change asks, and No writes
# nothing either; the close box asks once, Yes saves, and a save that fails keeps the dialog.
scenario_directories_question() {
    e2e_setup directories_question
    start_with_settings
    choose "alt+e v" "$DIRECTORIES"
    keys Escape
    dlg wait-gone "$DIRECTORIES" || die "Escape did not close the dialog"
    no_message_box

    choose "alt+e v" "$DIRECTORIES"
    clear_and_type "$DIRECTORIES" $DIR_PERSON ABCDEFGHIJKL
    keys alt+s
    dlg wait-gone "$DIRECTORIES" || die "\"&Speichern\" did not close the dialog"
    no_message_box
    expect_eq "Person" "$(ini_value Installation Person)" ABCDEFGHIJ

    local settings="$e2e_dir/settings.ini"
    cp "$e2e_dir/TORKKX.ini" "$settings"
    choose "alt+e v" "$DIRECTORIES"
    clear_and_type "$DIRECTORIES" $DIR_PERSON XYZ
    clear_and_type "$DIRECTORIES" $DIR_EXPORT 'C:\Export'
    # "..." for the work folder: any file picked there gives its folder.
    local position
    position=$(dlg pos "$DIRECTORIES" $DIR_WORK_BROWSE)
    # shellcheck disable=SC2086
    xdotool mousemove $position click 1
    dlg wait-dialog "Verzeichnis der Zeitdateien" || die "no file selection"
    type_text "Projekte.txt"
    keys Return
    dlg wait-gone "Verzeichnis der Zeitdateien" || die "the file selection stayed open"
    dlg_wait text "$DIRECTORIES" $DIR_WORK "$(program_folder)"
    dlg_wait focused "$DIRECTORIES" 0 $DIR_WORK
    keys alt+v
    dlg wait-gone "$DIRECTORIES" || die "\"&Verwerfen\" did not close the dialog"
    no_message_box
    expect_file "$e2e_dir/TORKKX.ini" "$settings"

    choose "alt+e v" "$DIRECTORIES"
    dlg_wait text "$DIRECTORIES" $DIR_PERSON ABCDEFGHIJ
    clear_and_type "$DIRECTORIES" $DIR_PERSON QQ
    keys Escape
    probe wait-msgbox "nderungen speichern?" || die "no question after a change"
    probe press Nein
    dlg wait-gone "$DIRECTORIES" || die "the dialog stayed open"
    expect_file "$e2e_dir/TORKKX.ini" "$settings"

    choose "alt+e v" "$DIRECTORIES"
    clear_and_type "$DIRECTORIES" $DIR_PERSON QQ
    dlg close-box "$DIRECTORIES"
    probe wait-msgbox "nderungen speichern?" || die "no question at the close box"
    probe press Ja
    dlg wait-gone "$DIRECTORIES" || die "the close box left the dialog open"
    no_message_box
    expect_eq "Person saved at the close box" "$(ini_value Installation Person)" QQ

    # A settings file that cannot be written (a folder in its place): the close box warns and
    # keeps the dialog open with the change.
    mv "$e2e_dir/TORKKX.ini" "$e2e_dir/kept.ini"
    mkdir "$e2e_dir/TORKKX.ini"
    choose "alt+e v" "$DIRECTORIES"
    clear_and_type "$DIRECTORIES" $DIR_PERSON RR
    dlg close-box "$DIRECTORIES"
    probe wait-msgbox "nderungen speichern?" >/dev/null || die "no question at the close box"
    probe press Ja >/dev/null || die "no button Ja"
    probe wait-msgbox "Kann Einstellungsdatei" >/dev/null || die "no warning at a failed save"
    probe press OK >/dev/null || die "no button OK"
    dlg_wait text "$DIRECTORIES" $DIR_PERSON RR
    expect_eq "open dialogs after a failed save" "$(dlg dialogs)" "$DIRECTORIES"
    rmdir "$e2e_dir/TORKKX.ini"
    mv "$e2e_dir/kept.ini" "$e2e_dir/TORKKX.ini"
    keys alt+v
    dlg wait-gone "$DIRECTORIES" || die "\"&Verwerfen\" did not close the dialog"
    kx_close
}

"scenario_${1:?usage: dialogs_projects.sh NAME}"
