#!/usr/bin/env bash
# Books a project in the real program with real keystrokes on a private display and takes a
# screenshot: book_and_shoot.sh PROGRAM_FOLDER DISPLAY [PROJECT] (default: the first project of
# the list). Prints the screenshot's path and the year file's last line. Needs the Windows build
# (kxprobe.exe beside kx.exe in its bin folder); KX_BUILD_ROOT chooses the build folders.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
program_folder=$(cd "${1:?usage: book_and_shoot.sh PROGRAM_FOLDER DISPLAY [PROJECT]}" && pwd)
display=${2:?usage: book_and_shoot.sh PROGRAM_FOLDER DISPLAY [PROJECT]}
project=${3:-}
build="${KX_BUILD_ROOT:-$top/build}/windows"

export KX_E2E_BIN="$build/bin" KX_E2E_WORK="$build/e2e" KX_E2E_PREFIX="$build/wineprefix"
export KX_DISPLAY="$display" E2E_NOW=""
# The session (display, Wine server) is ours to stop only when this script started it.
session_started=""
if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
    KX_DISPLAY="$display" "$top/scripts/wine-session.sh" start
    session_started=yes
fi
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"
e2e_dir="$program_folder"
trap 'e2e_cleanup' EXIT
[ -z "$session_started" ] || e2e_cleanups+=("KX_DISPLAY='$display' '$top/scripts/wine-session.sh' stop")

# The index of the project's entry in the list (the first that can be chosen when none is given).
entry_index() {
    awk -v wanted="$1" '
        { id = substr($0, 1, 16); gsub(/^ +| +$/, "", id) }
        wanted == "" && $0 != "---" && $0 !~ /^ / && $0 != "" { print NR - 1; exit }
        wanted != "" && id == wanted { print NR - 1; exit }'
}

list_filled() { [ "$(probe get items)" -gt 0 ] 2>/dev/null; }

kx_start
wait_until 30 list_filled || die "the project list stayed empty"
index=$(probe --utf8 get list | entry_index "$project")
[ -n "$index" ] || die "no project '${project:-(first)}' in the list"
kx_focus
probe_wait focus list
downs=()
for ((i = 0; i < index; i++)); do downs+=(Down); done
keys Home "${downs[@]}" space
probe_wait indicator ANDERS
keys Return
probe_wait indicator EIN
# The main window alone, raised first: without a window manager Wine's own tray window sits at the
# display's top left corner, over the start of the menu bar when it was shown last.
shot="$program_folder/korvex.png"
xid=$(probe get xid)
xdotool windowraise "$xid"
import -window "$xid" -display "$DISPLAY" "$shot"
year=$(ls "$program_folder"/[0-9][0-9][0-9][0-9].txt | tail -n 1)
kx_close
echo "$shot"
grep -v '^[[:space:]]*$' "$year" | tail -n 1 | iconv -f WINDOWS-1252 -t UTF-8
