#!/usr/bin/env bash
# Checks the compiled help against what asks for it: every page of the table is in the file, every
# keyword of the table leads to its page through the file's index, and every dialog template of
# the given folders has its page ("ZZ_" and the dialog's name in the index, leading to a page
# that is in the file). Lists each fault and fails; chmls comes with Debian's fp-utils.
# help_check.sh KX_CHM PAGES_DEF DIALOG_FOLDER...
set -euo pipefail
chm=${1:?usage: help_check.sh KX_CHM PAGES_DEF DIALOG_FOLDER...}
pages_def=${2:?usage: help_check.sh KX_CHM PAGES_DEF DIALOG_FOLDER...}
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# chmls: quiet about its banner, loud on a failure.
chmls_quiet() { chmls "$@" 2>"$work/chmls.err" || { cat "$work/chmls.err" >&2; exit 1; }; }
chmls_quiet -n list "$chm" | sed -n 's:^/::p' >"$work/files"
chmls_quiet extractindex "$chm" "$work/index.hhk" >/dev/null
[ -s "$work/index.hhk" ] || { echo "help_check: $chm has no index" >&2; exit 1; }
# The index as lines "keyword<TAB>page": the first name of each entry and its page.
awk '
    /<OBJECT/ { name = ""; page = "" }
    /param name="Name"/ && name == "" { match($0, /value="[^"]*"/); name = substr($0, RSTART + 7, RLENGTH - 8) }
    /param name="Local"/ { match($0, /value="[^"]*"/); page = substr($0, RSTART + 7, RLENGTH - 8) }
    /<\/OBJECT>/ && name != "" { print name "\t" page }
' "$work/index.hhk" >"$work/index"

faults=0
fault() {
    echo "help_check: $*" >&2
    faults=$((faults + 1))
}
in_file() { grep -qxF "$1" "$work/files"; }
page_of() { awk -F '\t' -v keyword="$1" '$1 == keyword { print $2; exit }' "$work/index"; }

while IFS=$'\t' read -r page keyword; do
    in_file "$page" || fault "$chm lacks the page $page"
    if [ -n "$keyword" ] && [ "$(page_of "$keyword")" != "$page" ]; then
        fault "the index of $chm does not lead $keyword to $page"
    fi
done < <(sed -n 's/^HELP_PAGE("\([^"]*\)", "\([^"]*\)".*/\1\t\2/p' "$pages_def")

dialogs=0
for folder in "$@"; do
    for name in $(sed -n 's/^\(DB[0-9A-Z_]*\) DIALOG.*/\1/p' "$folder"/*.rc); do
        dialogs=$((dialogs + 1))
        page=$(page_of "ZZ_$name")
        if [ -z "$page" ]; then
            fault "$chm has no page for dialog $name (keyword ZZ_$name)"
        elif ! in_file "$page"; then
            fault "ZZ_$name leads to $page, which $chm lacks"
        fi
    done
done
[ "$dialogs" -gt 0 ] || fault "no dialog templates in $*"
[ "$faults" -eq 0 ] || exit 1
echo "help_check: $(grep -c '^HELP_PAGE' "$pages_def") pages and $dialogs dialogs in $chm"
