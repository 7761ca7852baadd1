#!/usr/bin/env bash
# The installer Korvex-Setup.exe of the build under Wine: a silent installation into the user's own
# programs folder with its start-menu entry and uninstall key, the installed program booking with
# real keys, a silent reinstallation and uninstallation that leave the user's files as they are,
# and an uninstallation that removes a folder holding nothing else.
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=e2e_lib.sh
source "$here/e2e_lib.sh"

setup_exe="$E2E_BIN/Korvex-Setup.exe"
[ -f "$setup_exe" ] || die "no $setup_exe (the build's target korvex_setup makes it)"
# Wine would put the start-menu entry into the Linux desktop's menu too.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvex'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
program_files=(kx.exe torkedit.dll torkshow.dll torkdisp.dll torkgrbu.dll kx.chm Muster.txt
    LIESMICH.txt Uninstall.exe)

# windows_folder VARIABLE: a folder the Windows environment names.
windows_folder() {
    local folder
    folder=$(wine cmd /c echo "%$1%" | tr -d '\r\n')
    [ -n "$folder" ] && [ "$folder" != "%$1%" ] || die "Wine knows no %$1%"
    echo "$folder"
}
unix_path() { winepath -u "$1" | sed 's:/$::'; }
install_folder="$(windows_folder LOCALAPPDATA)\\Programs\\Korvex"
install_dir=$(unix_path "$install_folder")
start_menu="$(unix_path "$(windows_folder APPDATA)")/Microsoft/Windows/Start Menu/Programs"
start_link="$start_menu/Korvex.lnk"
help_link="$start_menu/Korvex Hilfe.lnk"

remove_installation() {
    rm -rf "$install_dir" "$start_link" "$help_link"
    wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
    wine reg delete "$run_key" /v Korvex /f >/dev/null 2>&1 || true
}
# A run that failed half-way leaves nothing behind for the next one.
remove_installation
e2e_dir="$install_dir"
e2e_cleanups+=(remove_installation)
trap e2e_cleanup EXIT

# uninstall_value NAME: a value of the uninstall key as "TYPE VALUE" (nothing without the key).
uninstall_value() {
    wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
        awk -v name="$1" '$1 == name { $1 = ""; sub(/^ +/, ""); print }'
}
key_exists() { wine reg query "$uninstall_key" >/dev/null 2>&1; }
key_gone() { ! key_exists; }

# run_setup: a silent installation; Wine returns when the installer has ended.
run_setup() {
    local code=0
    wine "$setup_exe" /S </dev/null >/dev/null 2>&1 || code=$?
    expect_eq "exit code of Korvex-Setup.exe /S" "$code" 0
}
# run_uninstall: a silent uninstallation. The uninstaller runs on from a copy of itself in the
# temporary folder while the first process returns; it deletes its key last.
run_uninstall() {
    [ -f "$install_dir/Uninstall.exe" ] || die "no Uninstall.exe in the installed folder"
    wine "$install_dir/Uninstall.exe" /S </dev/null >/dev/null 2>&1 || die "Uninstall.exe /S failed"
    wait_until 30 key_gone || die "the uninstall key is still there after Uninstall.exe /S"
}

# expect_installed: the program's files as built, the start-menu entry on kx.exe, the key.
expect_installed() {
    local file
    for file in kx.exe torkedit.dll torkshow.dll torkdisp.dll torkgrbu.dll kx.chm Muster.txt; do
        cmp -s "$install_dir/$file" "$E2E_BIN/$file" || die "installed $file differs from the build's"
    done
    cmp -s "$install_dir/LIESMICH.txt" "$here/../../resources/LIESMICH.txt" ||
        die "installed LIESMICH.txt differs from the resources'"
    [ -f "$install_dir/Uninstall.exe" ] || die "no Uninstall.exe"
    [ -f "$start_link" ] || die "no start-menu entry $start_link"
    grep -aqF "$install_folder\\kx.exe" "$start_link" ||
        die "the start-menu entry does not start $install_folder\\kx.exe"
    [ -f "$help_link" ] || die "no start-menu entry $help_link"
    grep -aqF "$install_folder\\kx.chm" "$help_link" ||
        die "the start-menu entry \"Korvex Hilfe\" does not open $install_folder\\kx.chm"
    expect_eq "DisplayName" "$(uninstall_value DisplayName)" "REG_SZ Korvex"
    expect_eq "DisplayVersion" "$(uninstall_value DisplayVersion)" "REG_SZ ${KX_E2E_VERSION:?}"
    expect_eq "UninstallString" "$(uninstall_value UninstallString)" \
        "REG_SZ \"$install_folder\\Uninstall.exe\""
    expect_eq "InstallLocation" "$(uninstall_value InstallLocation)" "REG_SZ $install_folder"
    expect_eq "NoModify" "$(uninstall_value NoModify)" "REG_DWORD 0x1"
    expect_eq "NoRepair" "$(uninstall_value NoRepair)" "REG_DWORD 0x1"
}

# user_files: the folder's files that are not the program's, with their checksums.
user_files() {
    (cd "$install_dir" && find . -type f | sed 's:^\./::' | LC_ALL=C sort |
        grep -vxF -f <(printf '%s\n' "${program_files[@]}") | while IFS= read -r file; do
            printf '%s  %s\n' "$(md5sum <"$file" | cut -d' ' -f1)" "$file"
        done)
}

run_setup
expect_installed

# The installed program, started from its folder, makes Projekte.txt of Muster.txt and books the
# first project of it with the keyboard (Home goes to "---", Down past the heading). Its first
# start in an empty year writes a pause line of its own.
kx_start
kx_focus
keys Home Down Down space
probe_wait project "KD 4711"
keys Return
probe_wait title "Zeiterfassung - KD 4711"
expected="$E2E_WORK/installer-expected.txt"
mkdir -p "$E2E_WORK"
{ pause_line "$E2E_TODAY" "$E2E_TIME"; journal_line "$E2E_TODAY" "$E2E_TIME" "KD 4711"; } >"$expected"
expect_file "$(year_file)" "$expected"
# While the program runs, neither the installer nor the uninstaller replaces or removes anything:
# silently both end with exit code 2. ("_?=" keeps the uninstaller in place, so that its exit
# code is the one seen here.)
code=0
wine "$setup_exe" /S </dev/null >/dev/null 2>&1 || code=$?
expect_eq "exit code of Korvex-Setup.exe /S beside the running program" "$code" 2
code=0
wine "$install_dir/Uninstall.exe" /S "_?=$install_folder" </dev/null >/dev/null 2>&1 || code=$?
expect_eq "exit code of Uninstall.exe /S beside the running program" "$code" 2
expect_installed
kx_close
cmp -s "$install_dir/Projekte.txt" "$install_dir/Muster.txt" || die "Projekte.txt is not a copy of Muster.txt"
[ -f "$install_dir/TORKKX.ini" ] || die "the program wrote no TORKKX.ini into its folder"
# Files of the user's own: last year's bookings and a subfolder.
journal_line 2025-12-19 16:00 INT Weihnachtsfeier >"$install_dir/2025.txt"
mkdir -p "$install_dir/Sicherung"
cp "$(year_file)" "$install_dir/Sicherung/"
data=$(user_files)
for file in 2026.txt 2025.txt Projekte.txt TORKKX.ini Sicherung/2026.txt; do
    grep -q "  $file\$" <<<"$data" || die "$file is missing among the user's files"
done

# A new installation over the old one changes none of the user's files.
run_setup
expect_installed
expect_eq "user's files after a new installation" "$(user_files)" "$data"

# The start with Windows, as the program's options set it, goes with the program.
wine reg add "$run_key" /v Korvex /d "\"$install_folder\\kx.exe\"" /f >/dev/null 2>&1 ||
    die "could not set the start with Windows"
run_uninstall
! wine reg query "$run_key" /v Korvex >/dev/null 2>&1 || die "the start with Windows stayed"
for file in "${program_files[@]}"; do
    [ ! -e "$install_dir/$file" ] || die "$file is still there after uninstalling"
done
[ ! -e "$start_link" ] || die "the start-menu entry is still there after uninstalling"
[ ! -e "$help_link" ] || die "the start-menu entry of the help is still there after uninstalling"
expect_eq "user's files after uninstalling" "$(user_files)" "$data"

# With nothing of the user's in it, uninstalling removes the folder itself.
rm -rf "$install_dir"
run_setup
run_uninstall
wait_until 15 test ! -e "$install_dir" || die "the empty folder is still there after uninstalling"
