#!/usr/bin/env bash
# Installs what is missing, builds Korvex for Windows and starts it under Wine from its folder
# build/windows/run/Korvex/ (where its year files, Projekte.txt and TORKKX.ini lie).
# With DISPLAY set, Korvex opens on that display until you close it. Without one, it runs on a
# private virtual display, books PROJECT (default: the first project of the list) with real
# keystrokes, saves a screenshot, prints its path and the year file's last line, and closes.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
cd "$top"
scripts/setup.sh
scripts/dist.sh >/dev/null
scripts/build.sh windows kxprobe
build="${KX_BUILD_ROOT:-$top/build}/windows"
folder="$build/run/Korvex"
mkdir -p "$folder"
# The program's files are renewed; the user's data beside them stay.
cp -p "$build/dist/Korvex/"* "$folder/"
echo "Korvex: $folder"

if [ -n "${DISPLAY:-}" ]; then
    export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1 || true
    cd "$folder"
    exec wine kx.exe
fi
exec tests/e2e/book_and_shoot.sh "$folder" "${KX_RUN_DISPLAY:-:58}" "$@"
