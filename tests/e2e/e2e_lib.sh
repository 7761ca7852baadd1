# Shell library of the end-to-end tests (sourced): a fresh program folder per scenario, the
# program started under Wine as a user starts it, X input through xdotool, kxprobe for what the
# user sees, byte-exact file checks, and a clean-up that leaves no program running.
set -euo pipefail

E2E_BIN=${KX_E2E_BIN:?the bin folder of the build}
E2E_WORK=${KX_E2E_WORK:?a work folder under the build}
export WINEPREFIX=${KX_E2E_PREFIX:?the Wine prefix of the build}
export DISPLAY=${KX_DISPLAY:-${KX_E2E_DISPLAY:-:57}}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The program's clock for the whole run: a Wednesday of ISO week 11 (set but empty: the real one).
E2E_NOW=${E2E_NOW-"2026-03-11 09:30"}
E2E_TODAY=${E2E_NOW% *}
E2E_TIME=${E2E_NOW#* }

E2E_PROGRAM=${E2E_PROGRAM:-kx.exe}  # the program under test (the tools' own check: a stand-in)
e2e_dir=""        # the program folder of the scenario
kx_pid=""         # the Unix process of the program started by kx_start
e2e_cleanups=()   # commands the clean-up runs besides ending the program

die() {
    echo "FAIL: $*" >&2
    exit 1
}

# probe ARGS...: kxprobe in the test's Wine session (it prints its own reason on failure).
probe() { wine "$E2E_BIN/kxprobe.exe" "$@"; }

# probe_wait QUERY VALUE: polls until the program shows VALUE for QUERY.
probe_wait() { probe wait "$1" "$2" || die "waiting for $1 = '$2'"; }

# expect_eq WHAT ACTUAL EXPECTED
expect_eq() { [ "$2" == "$3" ] || die "$1: got '$2', expected '$3'"; }

# wait_until SECONDS COMMAND...: polls a condition of the file system or the processes.
wait_until() {
    local tries=$(($1 * 10))
    shift
    while ! "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# e2e_setup NAME: a fresh program folder with the program and its four libraries.
e2e_setup() {
    e2e_dir="$E2E_WORK/$1"
    rm -rf "$e2e_dir"
    mkdir -p "$e2e_dir"
    local file
    for file in "$E2E_PROGRAM" torkedit.dll torkshow.dll torkdisp.dll torkgrbu.dll; do
        cp "$E2E_BIN/$file" "$e2e_dir/"
    done
    trap e2e_cleanup EXIT
}

e2e_cleanup() {
    local status=$?
    local command
    for command in "${e2e_cleanups[@]}"; do eval "$command" || true; done
    if [ -n "$kx_pid" ] && kill -0 "$kx_pid" 2>/dev/null; then
        probe terminate >/dev/null 2>&1 || true
        kill "$kx_pid" 2>/dev/null || true
        wait "$kx_pid" 2>/dev/null || true
    fi
    exit "$status"
}

# write_settings LINE...: the scenario's settings file, its section [Installation] with the lines.
write_settings() { printf '%s\r\n' "[Installation]" "$@" >"$e2e_dir/TORKKX.ini"; }

# write_projects LINE...: the scenario's "Projekte.txt", lines ending in CR LF.
write_projects() { printf '%s\r\n' "$@" >"$e2e_dir/Projekte.txt"; }

# The default project file of the scenarios: a comment, two projects, an entry that cannot be
# chosen (it begins with a space).
write_test_projects() {
    write_projects "; Projekte der Tests" \
        "P4711           Kundenprojekt Nord" \
        "P0815           Wartung" \
        " Gesperrt       beginnt mit Leerzeichen"
}

# journal_line DATE TIME PROJECT [TEXT]: one booking as the program writes it.
journal_line() { printf '%-12.10s%-8.5s%-20.15s%s\n' "$1" "$2" "$3" "${4:-}"; }
# pause_line DATE TIME: the pause line the program writes by itself.
pause_line() { printf '%s  %s   ---\n' "$1" "$2"; }

year_file() { echo "$e2e_dir/${E2E_TODAY:0:4}.txt"; }

# expect_file FILE EXPECTED_FILE: byte for byte, with both shown on a difference.
expect_file() {
    cmp -s "$1" "$2" && return 0
    echo "--- expected $2" >&2
    od -c "$2" >&2 || true
    echo "--- got $1" >&2
    od -c "$1" >&2 || true
    die "$1 differs from the expected bytes"
}

# kx_launch [NAME=VALUE...]: starts the program from its folder as a user would (German locale,
# the fixed clock, any extra environment); kx_start also waits for its main window.
kx_launch() {
    local clock=()
    [ -z "$E2E_NOW" ] || clock=(KX_NOW="$E2E_NOW")
    (cd "$e2e_dir" && exec env LC_ALL=de_DE.UTF-8 "${clock[@]}" "$@" wine "$e2e_dir/$E2E_PROGRAM") \
        </dev/null >>"$e2e_dir/kx.log" 2>&1 &
    kx_pid=$!
}
kx_start() {
    wait_until 20 no_older_program || die "an earlier $E2E_PROGRAM of this Wine prefix still runs"
    kx_launch "$@"
    # A start usually shows the window within a second or two; a machine busy with other work
    # (the first start of a prefix, a build beside the tests) can take several times that.
    probe --timeout 30000 wait-window || die "the program showed no main window"
}

# no_older_program: no program under test runs in this test's Wine prefix (one that a scenario
# before this one ended may still be on its way out, and a second start would only raise it).
no_older_program() {
    local pid
    for pid in $(pgrep -f "$E2E_PROGRAM" || true); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            return 1
    done
    return 0
}

# kx_wait_end: waits for the started program's process to end; its exit code goes to kx_code.
# (Not in a subshell: only this shell can wait for its child.)
kx_code=""
kx_wait_end() {
    wait_until 15 kx_ended || die "the program is still running"
    kx_code=0
    wait "$kx_pid" || kx_code=$?
    kx_pid=""
}
kx_ended() { ! kill -0 "$kx_pid" 2>/dev/null; }

# kx_close: Ctrl+X as the user ends the program; it must end with exit code 0.
kx_close() {
    kx_focus
    xdotool key ctrl+x
    probe wait-gone || die "the program did not end after Ctrl+X"
    kx_wait_end
    expect_eq "exit code" "$kx_code" 0
}

# kx_focus: the user switches to the main window: it is activated anew (the program then puts
# the keyboard into its list) and gets the X input focus, so that keys reach it.
kx_focus() {
    local xid
    probe activate || die "the main window could not be activated"
    xid=$(probe get xid)
    [ "$xid" != 0 ] || die "the main window has no X window"
    xdotool windowfocus "$xid"
    probe_wait active main
}

# keys KEY...: real key presses to the focused window.
keys() { xdotool key --delay 30 "$@"; }
# type_text TEXT: real typing.
type_text() { xdotool type --delay 30 "$1"; }

# double_click_row INDEX: a real double-click on a row of the main list.
double_click_row() {
    local position
    position=$(probe row-pos "$1") || die "row $1 is not in view"
    # shellcheck disable=SC2086
    xdotool mousemove $position click --repeat 2 --delay 60 1
}

# dlg ARGS...: dlgprobe, the probe of the program's dialogs, in the test's Wine session.
dlg() { wine "$E2E_BIN/dlgprobe.exe" "$@"; }
# dlg_wait QUERY TITLE ID VALUE: polls until the dialog's control shows VALUE.
dlg_wait() { dlg wait "$@" >/dev/null || die "waiting for $1 of $3 in '$2' = '$4'"; }
# click_control TITLE ID: a real click on a control of a dialog.
click_control() {
    local position
    position=$(dlg pos "$1" "$2") || die "no control $2 in '$1'"
    # shellcheck disable=SC2086
    xdotool mousemove $position click 1
}
# focus_control TITLE ID: real clicks on a control until it has the focus. Without a window
# manager, the activation that follows a closed message box can arrive after the first click and
# give the focus back to the control that had it before the box; a user would click again.
focus_control() {
    local attempt
    for attempt in 1 2 3; do
        click_control "$1" "$2"
        dlg --timeout 3000 wait focused "$1" 0 "$2" >/dev/null && return 0
    done
    die "waiting for the focus on $2 in '$1'"
}
# click_row TITLE ID INDEX [COUNT]: a real click (or double click) on a row of a dialog's list.
click_row() {
    local position
    position=$(dlg row-pos "$1" "$2" "$3") || die "row $3 of $2 in '$1' is not in view"
    # shellcheck disable=SC2086
    xdotool mousemove $position click --repeat "${4:-1}" --delay 60 1
}

# expect_items TITLE ID FILE: the lines of a list box against a file of lines, line ends ignored
# (the probe writes CR LF).
items_are() { cmp -s <(dlg items "$1" "$2") <(tr -d '\r' <"$3"); }
expect_items() {
    wait_until 10 items_are "$1" "$2" "$3" && return 0
    dlg items "$1" "$2" >"$e2e_dir/items.txt"
    expect_file "$e2e_dir/items.txt" <(tr -d '\r' <"$3")
}

# expect_clipboard FILE: the clipboard, byte for byte, against a file (the probe adds a line
# feed).
clipboard_is() { cmp -s <(probe get clipboard | head -c -1) "$1"; }
expect_clipboard() {
    wait_until 10 clipboard_is "$1" && return 0
    probe get clipboard | head -c -1 >"$e2e_dir/clipboard.txt"
    expect_file "$e2e_dir/clipboard.txt" "$1"
}

# screenshot FILE: the whole display.
screenshot() { import -window root -display "$DISPLAY" "$1"; }

# ini_value SECTION KEY: a value of the program's settings file (CR of Windows lines dropped).
ini_value() {
    [ -f "$e2e_dir/TORKKX.ini" ] || return 0
    tr -d '\r' <"$e2e_dir/TORKKX.ini" |
        awk -v section="[$1]" -v key="$2" '
            /^\[/ { inside = ($0 == section) }
            inside && index($0, key "=") == 1 { print substr($0, length(key) + 2) }'
}
ini_is() { [ "$(ini_value "$1" "$2")" == "$3" ]; }

# windows_path FILE: the path as the program sees it.
windows_path() { winepath -w "$1" 2>/dev/null; }

# Registers the stand-in editor for ".txt" in the test prefix, and removes it at the end. The
# classes root itself: Wine 8 does not look into the user's own classes (HKCU\Software\Classes).
register_editor() {
    local editor reg="$e2e_dir/editor.reg"
    editor=$(windows_path "$E2E_BIN/record_command_line.exe" | sed 's/\\/\\\\/g')
    printf '%s\r\n' "REGEDIT4" "" \
        "[HKEY_CLASSES_ROOT\\.txt]" "@=\"KxE2E.Editor\"" "" \
        "[HKEY_CLASSES_ROOT\\KxE2E.Editor\\shell\\open\\command]" \
        "@=\"\\\"$editor\\\" \\\"%1\\\"\"" >"$reg"
    printf '%s\r\n' "REGEDIT4" "" "[-HKEY_CLASSES_ROOT\\.txt]" \
        "[-HKEY_CLASSES_ROOT\\KxE2E.Editor]" >"$e2e_dir/unregister.reg"
    e2e_cleanups+=("wine regedit /s '$(windows_path "$e2e_dir/unregister.reg")'")
    wine regedit /s "$(windows_path "$reg")" || die "could not register the editor"
}
