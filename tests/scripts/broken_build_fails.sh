#!/usr/bin/env bash
# Proves that a failed build fails the whole run: a copy of the tree with a compile error in a
# header every file includes must make build.sh and test.sh exit with an error, never go on
# with stale binaries.
set -uo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
(cd "$top" && git ls-files -z | xargs -0 cp --parents -t "$copy") || exit 1
echo '#error deliberately broken' >>"$copy/frame/text.h"

if "$copy/scripts/build.sh" native kx_frame >"$copy/build.out" 2>&1; then
    echo "broken_build_fails: build.sh exited 0 on a broken build"
    exit 1
fi
grep -q "building native failed" "$copy/build.out" || {
    echo "broken_build_fails: build.sh did not say that the build failed"
    exit 1
}
if KX_STAGES=native "$copy/test.sh" >"$copy/test.out" 2>&1; then
    echo "broken_build_fails: test.sh exited 0 on a broken build"
    exit 1
fi
grep -q "FAILED: native tests" "$copy/test.out" || {
    echo "broken_build_fails: test.sh did not name the failed stage"
    tail -5 "$copy/test.out"
    exit 1
}
echo "broken_build_fails: a broken build fails build.sh and test.sh"
