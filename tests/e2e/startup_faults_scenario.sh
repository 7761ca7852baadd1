#!/usr/bin/env bash
# Faults of the start-up that the user must hear of: a control library that cannot be loaded is
# named in the status line (the program still runs), and a settings file that cannot be written
# is reported with a warning instead of losing every setting without a word.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

# Without the display control's library the program runs, and the status line names the file.
e2e_setup missing_library
write_test_projects
rm "$e2e_dir/torkdisp.dll"
kx_start
probe_wait status "Steuerelement-Bibliothek torkdisp.dll fehlt."
probe_wait title "Zeiterfassung - ---"
kx_close

# A settings file that is a folder cannot be written: each write (the week check at start-up, the
# window's place at closing) brings the warning with the file's path; the program goes on.
e2e_setup settings_not_writable
write_test_projects
mkdir "$e2e_dir/TORKKX.ini"
kx_start
settings="$(windows_path "$e2e_dir")\\TORKKX.ini"
settings=${settings//\\\\/\\}
probe wait-msgbox "Kann Einstellungsdatei $settings nicht schreiben." ||
    die "no warning about the settings file; boxes: $(probe get msgbox)"
probe press OK
probe_wait indicator AUS
# Closing cannot keep the window's place either, and says so before the program ends.
kx_focus
keys ctrl+x
probe wait-msgbox "Kann Einstellungsdatei $settings nicht schreiben." ||
    die "no warning about the placement at closing"
probe press OK
probe wait-gone || die "the program did not end after the warning"
kx_wait_end
expect_eq "exit code" "$kx_code" 0
