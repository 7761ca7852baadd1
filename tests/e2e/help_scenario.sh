#!/usr/bin/env bash
# The help calls of the real program: F1 asks for the keyword of the active dialog ("MenuIndex"
# in the main window), "&Inhalt..." for the contents, both of the help file beside kx.exe. A
# stand-in of the help program records what it is asked.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

e2e_setup help
write_test_projects
help_log="$e2e_dir/help.log"
(cd "$e2e_dir" && exec wine "$E2E_BIN/helpcatcher.exe" "$(windows_path "$help_log")") \
    </dev/null >/dev/null 2>&1 &
catcher=$!
e2e_cleanups+=("kill $catcher")
probe --class MS_WINHELP wait-window || die "the help stand-in did not start"
kx_start
help_file="$(windows_path "$e2e_dir")\\kx.HLP"
help_file=${help_file//\\\\/\\}
logged() { [ -f "$help_log" ] && [ "$(wc -l <"$help_log")" -ge "$1" ]; }

kx_focus
keys F1
wait_until 15 logged 1 || die "F1 asked nothing of the help program"
expect_eq "F1 in the main window" "$(sed -n 1p "$help_log")" "261|$help_file|MenuIndex"

keys alt+h i
wait_until 15 logged 2 || die "\"&Inhalt...\" asked nothing of the help program"
expect_eq "help contents" "$(sed -n 2p "$help_log")" "3|$help_file|"
kx_close
