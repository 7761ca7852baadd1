#!/usr/bin/env bash
# The handheld dialogs of the real program: dialogs_handheld.sh NAME runs one scenario in a
# program folder of its own, driven by keys and clicks; year files and databases are compared
# byte for byte with what kxcli makes of the same folder.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

EXCHANGE="Ableich mit dem Palmtop"
SETTINGS="Palmtop einstellen"
TAKE_OVER=3010 INSTALL_TIMES=3030 INSTALL_PROJECTS=3040
MODE=3000 BACKUP=3020 INSTALL=3030 FLAG=3040 INSTALLER=3060 SEARCH=3041 INSTALL_PROGRAM=2502
PALM_KEY='HKCU\Software\U.S. Robotics\Pilot Desktop'
# The backup's modification time and its stamp as the program notes it once announced.
BACKUP_TIME="2003-06-18 14:05:09" BACKUP_STAMP=6706120E0509

# checks: the three boxes of the exchange, e.g. "1 0 1".
checks() { echo "$(dlg checked "$EXCHANGE" $TAKE_OVER) $(dlg checked "$EXCHANGE" $INSTALL_TIMES) $(dlg checked "$EXCHANGE" $INSTALL_PROJECTS)"; }
dialogs() { dlg dialogs | sort | tr '\n' '|'; }

# kxcli DIR ARGS...: the Windows kxcli on a copy of a program folder at the program's moment, with
# that folder as current directory (where the databases are built).
kxcli() {
    local dir=$1
    shift
    (cd "$dir" && wine "$E2E_BIN/kxcli.exe" --ini "$(windows_path "$dir/TORKKX.ini")" \
        --workdir "$(windows_path "$dir")\\" --commondir "$(windows_path "$dir")\\" \
        --now "$E2E_NOW" "$@" >/dev/null 2>&1)
}

# The settings line of the scenario's handheld backup folder.
backup_setting() { echo "PalmBak=$(windows_path "$e2e_dir/backup")\\"; }

# The handheld's backed-up times: three bookings of two years, the last one later than the year
# file's, made into the backup folder's "Zeiten.PDB" by kxcli (every line of a year file becomes
# a record, whatever its date).
write_backup() {
    local made="$e2e_dir/made"
    mkdir -p "$made" "$e2e_dir/backup"
    {
        journal_line 2025-12-31 16:00 P0815 Jahresabschluss
        journal_line 2026-03-10 08:00 P4711 "vom Handheld"
        pause_line 2026-03-10 18:30
    } >"$made/${E2E_TODAY:0:4}.txt"
    printf '[Installation]\r\n' >"$made/TORKKX.ini"
    kxcli "$made" palm build-times || die "kxcli built no times database"
    mv "$made/Zeiten.PDB" "$e2e_dir/backup/"
    rm -rf "$made"
    touch -d "$BACKUP_TIME" "$e2e_dir/backup/Zeiten.PDB"
}

# The program folder with projects, a year file ending with a pause of yesterday, the backup.
prepare_folder() {
    write_test_projects
    { journal_line 2026-03-10 07:30 P0815 Wartung; pause_line 2026-03-10 17:00; } >"$(year_file)"
    write_backup
}

# oracle: a copy of the program folder as it is now, for kxcli to work on.
oracle() {
    rm -rf "$e2e_dir.oracle"
    cp -r "$e2e_dir" "$e2e_dir.oracle"
    e2e_cleanups+=("rm -rf '$e2e_dir.oracle'")
    echo "$e2e_dir.oracle"
}

menu_exchange() {
    kx_focus
    keys alt+b a
}
# no_message TEXT: no message box shows TEXT (the probe lists the texts of every dialog window).
no_message() { ! probe get msgbox | LC_ALL=C grep -aq "$1" || die "a message box says '$1'"; }
press_ok() { probe press OK >/dev/null || die "no message box to confirm"; }

# A backup newer than the one last announced opens the exchange at start with only the take-over
# chosen; Start merges the times into both years' files, says how many lines each gained, and the
# main window then shows the merged last booking.
scenario_handheld_start() {
    e2e_setup handheld_start
    prepare_folder
    write_settings "UsePalm=1" "$(backup_setting)"
    local copy
    copy=$(oracle)
    kxcli "$copy" palm import || die "kxcli import failed"
    kx_start
    dlg wait-dialog "$EXCHANGE" >/dev/null || die "the exchange did not open at start"
    expect_eq "boxes at start" "$(checks)" "1 0 0"
    keys Return
    probe wait-msgbox "Zeiten vom Palmtop" >/dev/null || die "no report of the take-over"
    expect_eq "report" "$(probe get msgbox | tr -d '\r' | LC_ALL=C grep -a 'txt:' | LC_ALL=C sed 's/ hinzugef.*,/,/')" \
        "$(printf '2025.txt: 1 Zeile(n), jetzt 1\n2026.txt: 2 Zeile(n), jetzt 4')"
    press_ok
    dlg wait-gone "$EXCHANGE" >/dev/null || die "the exchange stayed open"
    expect_file "$e2e_dir/2025.txt" "$copy/2025.txt"
    expect_file "$(year_file)" "$copy/${E2E_TODAY:0:4}.txt"
    printf '%s\n' "2025-12-31  16:00   P0815               Jahresabschluss" >"$e2e_dir/expected.txt"
    expect_file "$e2e_dir/2025.txt" "$e2e_dir/expected.txt"
    # The exchange's end lets the start-up checks go on: the strip shows the merged last booking.
    probe_wait time 18:30
    expect_eq "backup announced" "$(ini_value Installation PalmLast)" "$BACKUP_STAMP"
    kx_close
}

# The menu's exchange presets take-over and projects; a second choice brings the open one to the
# front as the user left it; with every step chosen the databases are built as kxcli builds them
# and named for installation. Escape runs no step.
scenario_handheld_exchange() {
    e2e_setup handheld_exchange
    prepare_folder
    write_settings "UsePalm=1" "$(backup_setting)" "PalmLast=$BACKUP_STAMP"
    kx_start
    probe_wait indicator AUS
    menu_exchange
    dlg wait-dialog "$EXCHANGE" >/dev/null || die "the exchange did not open from the menu"
    expect_eq "boxes from the menu" "$(checks)" "1 0 1"
    click_control "$EXCHANGE" $TAKE_OVER
    dlg_wait checked "$EXCHANGE" $TAKE_OVER 0
    menu_exchange
    dlg_wait checked "$EXCHANGE" $TAKE_OVER 0
    expect_eq "dialogs after a second choice" "$(dialogs)" "$EXCHANGE|"
    expect_eq "boxes kept" "$(checks)" "0 0 1"
    click_control "$EXCHANGE" $TAKE_OVER
    click_control "$EXCHANGE" $INSTALL_TIMES
    dlg_wait checked "$EXCHANGE" $INSTALL_TIMES 1

    local copy folder
    copy=$(oracle)
    kxcli "$copy" palm import && kxcli "$copy" palm build-times && kxcli "$copy" palm build-projects ||
        die "kxcli could not run the steps"
    folder=$(windows_path "$e2e_dir")
    keys Return
    probe wait-msgbox "Bitte installieren" >/dev/null || die "the built files were not named"
    expect_eq "files to install" "$(probe get msgbox | tr -d '\r' | LC_ALL=C grep -a 'PDB')" \
        "$(printf '%s\\Zeiten.PDB\n%s\\Projekte.PDB' "$folder" "$folder")"
    press_ok
    probe wait-msgbox "Zeiten vom Palmtop" >/dev/null || die "no report of the take-over"
    press_ok
    dlg wait-gone "$EXCHANGE" >/dev/null || die "the exchange stayed open"
    local file
    for file in 2025.txt "${E2E_TODAY:0:4}.txt" Zeiten.PDB Projekte.PDB; do
        expect_file "$e2e_dir/$file" "$copy/$file"
    done

    cp "$e2e_dir/Zeiten.PDB" "$e2e_dir/before.PDB"
    menu_exchange
    dlg wait-dialog "$EXCHANGE" >/dev/null || die "the exchange did not open again"
    keys Escape
    dlg wait-gone "$EXCHANGE" >/dev/null || die "Escape did not close the exchange"
    no_message "Bitte installieren"
    expect_file "$e2e_dir/Zeiten.PDB" "$e2e_dir/before.PDB"
    kx_close
}

# Switched off, the menu's exchange says so and nothing opens, while the offer after the project
# list was edited stays away silently. Palm Desktop 3 after an edit: only the projects are chosen,
# and Start copies their database into the install folder.
scenario_handheld_projects_edited() {
    e2e_setup handheld_projects_edited
    prepare_folder
    write_settings "UsePalm=0"
    kx_start
    probe_wait indicator AUS
    probe command 1132 command 1201 >/dev/null
    dlg wait-dialog "$SETTINGS" >/dev/null || die "the settings did not open"
    no_message "nicht aktiviert"
    expect_eq "dialogs after the offer" "$(dialogs)" "$SETTINGS|"
    keys Escape
    dlg wait-gone "$SETTINGS" >/dev/null || die "Escape did not close the settings"
    menu_exchange
    probe wait-msgbox "nicht aktiviert" >/dev/null || die "the switched-off exchange said nothing"
    press_ok
    expect_eq "dialogs when switched off" "$(dialogs)" ""
    kx_close

    mkdir -p "$e2e_dir/install"
    write_settings "UsePalm=2" "PalmIns=$(windows_path "$e2e_dir/install")\\"
    local copy
    copy=$(oracle)
    kxcli "$copy" palm build-projects || die "kxcli built no projects database"
    kx_start
    probe_wait indicator AUS
    probe command 1132 >/dev/null
    dlg wait-dialog "$EXCHANGE" >/dev/null || die "the exchange was not offered"
    expect_eq "boxes after an edit" "$(checks)" "0 0 1"
    keys Return
    dlg wait-gone "$EXCHANGE" >/dev/null || die "the exchange stayed open"
    expect_file "$e2e_dir/install/Projekte.PDB" "$copy/Projekte.PDB"
    [ ! -e "$e2e_dir/install/Zeiten.PDB" ] || die "the times were installed unasked"
    expect_file "$e2e_dir/$(basename "$(year_file)")" "$copy/$(basename "$(year_file)")"
    kx_close
}

settings_open() {
    kx_focus
    keys alt+e p
    dlg wait-dialog "$SETTINGS" >/dev/null || die "the handheld settings did not open"
}
field() { dlg text "$SETTINGS" "$1"; }
# retype ID TEXT: the field's text replaced by typing.
retype() {
    click_control "$SETTINGS" "$1"
    keys End shift+Home BackSpace
    type_text "$2"
    dlg_wait text "$SETTINGS" "$1" "$2"
}
# The Installation section of the settings file, CR dropped.
ini_section() { tr -d '\r' <"$e2e_dir/TORKKX.ini" | grep -E '^(UsePalm|Palm)' | sort; }

# A mode that uses the handheld fills in the HotSync user's folders; "Suchen" finds the install
# flag enumerated last; "Installieren" saves and starts the installer with the program file and
# stays open; saving appends the separator, after which there is nothing to ask; "Verwerfen" and
# "Nein" write nothing; "Suchen" without a match says so.
scenario_handheld_settings() {
    e2e_setup handheld_settings
    prepare_folder
    write_settings "PalmLast=announced"
    e2e_cleanups+=("wine reg delete '$PALM_KEY' /f >/dev/null 2>&1")
    wine reg delete "$PALM_KEY" /f >/dev/null 2>&1 || true
    wine reg add "$PALM_KEY\\Preferences" /v LastUserName /d M.Mueller /f >/dev/null
    local value
    for value in Install3 Other Install1 "Kein Install"; do
        wine reg add "$PALM_KEY\\HotSync Manager" /v "$value" /t REG_DWORD /d 0 /f >/dev/null
    done
    local last_match
    last_match=$(wine reg query "$PALM_KEY\\HotSync Manager" | tr -d '\r' |
        awk '$1 ~ /^[Ii][Nn][Ss][Tt][Aa][Ll][Ll]/ { name = $1 } END { print name }')
    cp "$E2E_BIN/record_command_line.exe" "$e2e_dir/qi.exe"
    printf 'program' >"$e2e_dir/korvex.prc"
    local record="$e2e_dir/command line.txt"
    kx_start KX_RECORD_FILE="$(windows_path "$record")" KX_RECORD_EVENT=KorvexE2eInstaller
    probe_wait indicator AUS

    settings_open
    expect_eq "mode" "$(dlg selected "$SETTINGS" $MODE)" 0
    keys Escape
    dlg wait-gone "$SETTINGS" >/dev/null || die "Escape without a change asked or stayed"

    settings_open
    expect_eq "focus" "$(dlg focused "$SETTINGS")" $MODE
    keys Down
    dlg_wait text "$SETTINGS" $BACKUP 'C:\Programme\Palm\M\Backup\'
    expect_eq "install folder" "$(field $INSTALL)" 'C:\Programme\Palm\M\Install\'
    expect_eq "installer" "$(field $INSTALLER)" 'C:\Programme\Palm\QuickInstall.exe'
    keys Down Down
    dlg_wait selected "$SETTINGS" $MODE 3
    click_control "$SETTINGS" $SEARCH
    dlg_wait text "$SETTINGS" $FLAG "$last_match"
    no_message "nicht gefunden"
    local installer
    installer="$(windows_path "$e2e_dir")\\qi.exe"
    retype $INSTALLER "$installer"
    screenshot "$E2E_WORK/../e2e-palmtop.png"
    click_control "$SETTINGS" $INSTALL_PROGRAM
    wait_until 20 test -s "$record" || die "the installer was not started"
    expect_eq "installer's command line" "$(cat "$record")" \
        "$installer   $(windows_path "$e2e_dir")\\korvex.prc"
    expect_eq "dialogs after installing" "$(dialogs)" "$SETTINGS|"
    expect_eq "saved" "$(ini_section)" "$(printf '%s\n' 'Palm4QI='"$installer" \
        'PalmBak=C:\Programme\Palm\M\Backup\' 'PalmIns=C:\Programme\Palm\M\Install\' \
        'PalmLast=announced' "PalmReg=$last_match" 'UsePalm=3' | sort)"

    retype $BACKUP 'C:\Palm\Sicherung'
    keys alt+s
    dlg wait-gone "$SETTINGS" >/dev/null || die "Speichern did not close"
    expect_eq "backup folder saved" "$(ini_value Installation PalmBak)" 'C:\Palm\Sicherung/'
    settings_open
    keys Escape
    dlg wait-gone "$SETTINGS" >/dev/null || die "a saved folder counted as a change"

    local saved
    saved=$(ini_section)
    settings_open
    retype $INSTALL 'D:\anders'
    keys alt+v
    dlg wait-gone "$SETTINGS" >/dev/null || die "Verwerfen did not close"
    settings_open
    expect_eq "discarded" "$(field $INSTALL)" 'C:\Programme\Palm\M\Install\'
    retype $INSTALL 'D:\anders'
    keys Escape
    probe wait-msgbox "speichern?" >/dev/null || die "no question about the change"
    probe press Nein >/dev/null || die "no button Nein"
    dlg wait-gone "$SETTINGS" >/dev/null || die "Nein did not close"
    expect_eq "settings after Verwerfen and Nein" "$(ini_section)" "$saved"
    settings_open
    retype $INSTALL 'D:\anders'
    dlg close-box "$SETTINGS"
    probe wait-msgbox "speichern?" >/dev/null || die "no question at the close box"
    probe press Nein >/dev/null || die "no button Nein"
    dlg wait-gone "$SETTINGS" >/dev/null || die "Nein at the close box did not close"
    no_message "speichern?"
    expect_eq "settings after the close box and Nein" "$(ini_section)" "$saved"

    # Without any install flag left, "Suchen" says so and leaves the field empty.
    wine reg delete "$PALM_KEY\\HotSync Manager" /f >/dev/null
    settings_open
    click_control "$SETTINGS" $SEARCH
    probe wait-msgbox "Registry-Eintrag nicht gefunden." >/dev/null ||
        die "no message for a search without a match"
    press_ok
    dlg_wait text "$SETTINGS" $FLAG ""
    keys alt+v
    dlg wait-gone "$SETTINGS" >/dev/null || die "Verwerfen did not close"
    expect_eq "settings after a search without a match" "$(ini_section)" "$saved"
    kx_close
}

"scenario_${1:?usage: dialogs_handheld.sh SCENARIO}"
