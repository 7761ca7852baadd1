#!/bin/sh
# Runs kxcli (through the given emulator, if any) on the prepared journal, project file and
# settings file of tests/cli/data for every case of cases.txt, and compares its output and exit
# status with the expected files; the export file is compared too. Both builds must match them.
# usage: check_reports.sh SOURCE_DIR WORK_DIR KXCLI [EMULATOR]
set -u
source_dir=$1
work=$2
kxcli=$3
emulator=${4:-}
rm -rf "$work"
mkdir -p "$work"
cp -R "$source_dir/data/." "$work/"
mkdir -p "$work/export"
cd "$work" || exit 1
failed=0
while IFS='|' read -r name status arguments; do
    case "$name" in '#'* | '') continue ;; esac
    eval "set -- $arguments"
    $emulator "$kxcli" --ini korvex.ini --now "2003-12-17 10:00" "$@" >"$name.out" 2>"$name.raw"
    got=$?
    tr -d '\r' <"$name.raw" >"$name.err"
    if [ "$got" != "$status" ]; then
        echo "$name: exit status $got, expected $status"
        failed=1
    fi
    if ! cmp -s "$name.out" "$source_dir/expected/$name.out"; then
        echo "$name: output differs from expected/$name.out"
        failed=1
    fi
    if [ -f "$source_dir/expected/$name.err" ] && ! cmp -s "$name.err" "$source_dir/expected/$name.err"; then
        echo "$name: standard error differs from expected/$name.err"
        failed=1
    fi
done <"$source_dir/cases.txt"
if ! cmp -s export/2003ABC.txt "$source_dir/expected/2003ABC.txt"; then
    echo "export: export/2003ABC.txt differs from expected/2003ABC.txt"
    failed=1
fi
exit $failed
