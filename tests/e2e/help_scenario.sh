#!/usr/bin/env bash
# The help calls of the real program: F1 asks for the keyword of the active dialog ("MenuIndex"
# in the main window), "&Inhalt..." for the contents. Without kx.chm beside kx.exe they go to
# WinHelp (a stand-in of the help program records what it is asked); with it, HTML Help opens
# its help window at the keyword's page (Wine's trace of HtmlHelpW tells the topic asked for).
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
# The about box beside the help names the version.
keys alt+h c
dlg wait-dialog Copyright >/dev/null || die "no about box after Alt+H, C"
expect_eq "about box" "$(dlg text Copyright 100)" "Korvex ${KX_E2E_VERSION:?}"
keys Return
dlg wait-gone Copyright >/dev/null || die "the about box stayed open"
kx_close

# With the compiled help beside the program.
cp "$E2E_BIN/kx.chm" "$e2e_dir/"
: >"$e2e_dir/kx.log"
kx_start WINEDEBUG=-all,trace+htmlhelp
# asked PAGE: the trace shows HtmlHelpW asked for PAGE of kx.chm beside the program.
chm_topic="$(windows_path "$e2e_dir")\\kx.chm::/"
chm_topic=${chm_topic//\\\\/\\}
chm_topic=${chm_topic//\\/\\\\}
asked() { grep -aqF "HtmlHelpW (" "$e2e_dir/kx.log" && grep -aF "HtmlHelpW (" "$e2e_dir/kx.log" |
    tail -n 1 | grep -qF "L\"$chm_topic$1\", command=HH_DISPLAY_TOPIC"; }
kx_focus
keys alt+b s
dlg wait-dialog Statistik || die "no statistics after Alt+B, S"
keys F1
wait_until 15 asked statistik.htm || die "F1 in the statistics did not ask HTML Help for statistik.htm"
probe --class "HH Parent" wait-window || die "no help window after F1 in the statistics"
kx_focus
keys alt+h i
wait_until 15 asked hauptfenster.htm ||
    die "\"&Inhalt...\" did not ask HTML Help for hauptfenster.htm"
expect_eq "WinHelp requests with kx.chm beside the program" "$(wc -l <"$help_log")" 2
kx_close

# A help file HTML Help cannot open is reported, not passed over in silence.
echo "kein Hilfedatei-Inhalt" >"$e2e_dir/kx.chm"
kx_start
kx_focus
keys F1
probe wait-msgbox "\\kx.chm kann nicht angezeigt werden." >/dev/null ||
    die "no message about the damaged kx.chm"
probe press OK >/dev/null || die "no message box to confirm"
expect_eq "WinHelp requests with a damaged kx.chm" "$(wc -l <"$help_log")" 2
kx_close
