#!/usr/bin/env bash
# Configures and builds one variant of Korvex: native, asan, windows or fuzz (into build/VARIANT).
set -euo pipefail
variant=${1:?usage: build.sh native|asan|windows|fuzz [target...]}
shift
top=$(cd "$(dirname "$0")/.." && pwd)
dir="$top/build/$variant"
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
ninja -C "$dir" -j "${KX_JOBS:-2}" "$@" | grep -v '^\[' || true
test "${PIPESTATUS[0]}" -eq 0
