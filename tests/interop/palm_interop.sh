#!/usr/bin/env bash
# Interoperability of our Palm databases with an independent implementation of the format
# (Debian's Palm::PDB): it reads the files kxcli builds with the same header and records, and
# kxcli reads and takes over the files it writes. Usage: palm_interop.sh KXCLI
set -euo pipefail
export LC_ALL=C
kxcli=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir backup
failed=0

# Our dump without the fields Palm::PDB does not keep.
dump() { "$kxcli" pdb dump "$1" | grep -Ev '^(application info|sort info|next record list|file size):'; }
same() {
    if ! diff -u "$2" "$3" >"$work/diff"; then
        echo "FAIL: $1"
        cat "$work/diff"
        failed=1
    fi
}

printf '[Installation]\r\nUsePalm=1\r\nPalmBak=%s/backup/\r\n' "$work" >kx.ini
printf '; Projekte\r\nKD4711          Kunde Dietrich\r\nABCDEFGHIJKLMNO F\374nfzehn Zeichen\r\n' \
    >Projekte.txt
printf '2003-06-18  07:50   ---\n2003-06-18  08:30   KD4711              Besprechung\n' >2003.txt
run() { "$kxcli" --ini kx.ini --workdir "$work" --commondir "$work" --now "2003-06-18 14:05" "$@"; }

# Files we build, read by Palm::PDB.
run palm build-times >/dev/null
run palm build-projects >/dev/null
for file in Zeiten.PDB Projekte.PDB; do
    dump "$file" >ours.txt
    perl "$here/pdb_read.pl" "$file" >theirs.txt
    same "Palm::PDB reads $file as we wrote it" ours.txt theirs.txt
done
grep -q '^record 1: offset 125, attributes 0, id 1, 40 bytes: 2003-06-18 08:30 KD4711     Besprechung$' \
    <(dump Zeiten.PDB) || { echo "FAIL: Zeiten.PDB record layout"; failed=1; }

# A backup written by Palm::PDB, read and taken over by kxcli: 28- and 29-character records,
# a project identifier of 10 characters, a text with a Windows-1252 umlaut, and a second year.
perl "$here/pdb_write.pl" backup/Zeiten.PDB Zeiten \
    "2003-06-18 09:00 ABCDEFGHIJ " \
    "2003-06-18 10:00 KD4711     X" \
    "$(printf '2003-06-18 11:00 KD4711     B\374ro')" \
    "2004-01-02 08:00 ---        " >/dev/null
dump backup/Zeiten.PDB >ours.txt
perl "$here/pdb_read.pl" backup/Zeiten.PDB >theirs.txt
same "kxcli reads the database Palm::PDB wrote" ours.txt theirs.txt
run palm import >import.txt
grep -q '^records read: 4$' import.txt || { echo "FAIL: palm import"; cat import.txt; failed=1; }
printf '2003-06-18  07:50   ---\n2003-06-18  08:30   KD4711              Besprechung\n2003-06-18  09:00   ABCDEFGHIJ\n2003-06-18  10:00   KD4711              X\n2003-06-18  11:00   KD4711              B\374ro\n' >expected.txt
same "the backup's 2003 times merged" expected.txt 2003.txt
printf '2004-01-02  08:00   ---\n' >expected.txt
same "the backup's 2004 times merged" expected.txt 2004.txt

[ $failed -eq 0 ] && echo "palm interoperability: all checks passed"
exit $failed
