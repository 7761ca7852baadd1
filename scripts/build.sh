#!/usr/bin/env bash
# Configures and builds one variant of Korvex: native, asan, windows or fuzz (into build/VARIANT).
set -euo pipefail
variant=${1:?usage: build.sh native|asan|windows|fuzz [target...]}
shift
top=$(cd "$(dirname "$0")/.." && pwd)
# KX_BUILD_ROOT puts the build folders elsewhere (several builds side by side).
dir="${KX_BUILD_ROOT:-$top/build}/$variant"
case "$variant" in
    native) flags=() ;;
    asan) flags=(-DKX_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug) ;;
    windows) flags=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake") ;;
    fuzz) flags=(-DKX_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++) ;;
    *) echo "build.sh: unknown variant $variant" >&2; exit 2 ;;
esac
if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$top" -B "$dir" -G Ninja "${flags[@]}" >/dev/null
fi
# Ninja's progress lines are dropped; its exit status, not the filter's, is the script's.
status=0
ninja -C "$dir" -j "${KX_JOBS:-2}" "$@" >"$dir/build.log" 2>&1 || status=$?
grep -v '^\[' "$dir/build.log" || true
if [ "$status" -ne 0 ]; then
    echo "build.sh: building $variant failed (ninja exit $status)" >&2
    exit "$status"
fi
