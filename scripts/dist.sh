#!/usr/bin/env bash
# Makes the folder a Windows user copies and runs: build/windows/dist/Korvex/ with kx.exe, the four
# control libraries, the help kx.chm, the sample project list Muster.txt and LIESMICH.txt, and beside it the
# installer build/windows/dist/Korvex-Setup.exe, the one the build makes of the same files and the
# end-to-end test installs. Builds them first unless KX_DIST_NO_BUILD=1 takes the build as it
# stands.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="${KX_BUILD_ROOT:-$top/build}/windows"
if [ "${KX_DIST_NO_BUILD:-0}" != 1 ]; then
    "$top/scripts/build.sh" windows kx torkedit torkshow torkdisp torkgrbu kx_help korvex_setup
fi
bin="$build/bin"
sources=("$bin/kx.exe" "$bin/torkedit.dll" "$bin/torkshow.dll" "$bin/torkdisp.dll"
    "$bin/torkgrbu.dll" "$bin/kx.chm" "$top/resources/Muster.txt" "$top/resources/LIESMICH.txt")
installer="$bin/Korvex-Setup.exe"
missing=0
for file in "${sources[@]}" "$installer"; do
    if [ ! -f "$file" ]; then
        echo "dist.sh: missing $file" >&2
        missing=1
    fi
done
if [ "$missing" -ne 0 ]; then
    echo "dist.sh: no folder made" >&2
    exit 1
fi
dist="$build/dist/Korvex"
rm -rf "$dist"
mkdir -p "$dist"
cp -p "${sources[@]}" "$dist/"
setup="$build/dist/Korvex-Setup.exe"
cp -p "$installer" "$setup"
echo "$dist"
ls -l "$dist" "$setup"
