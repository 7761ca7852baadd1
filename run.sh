#!/usr/bin/env bash
# Installs what is missing, builds Korvex and runs its main job: books PROJECT [TEXT] (a pause,
# "---", when none is given) in the year file of the program's folder and shows the last booking.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
cd "$top"
scripts/setup.sh
scripts/build.sh native kxcli
kxcli="$top/build/native/bin/kxcli"
if [ $# -eq 0 ]; then set -- ---; fi
"$kxcli" --utf8 book "$@"
"$kxcli" --utf8 last
