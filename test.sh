#!/usr/bin/env bash
# Installs what is missing, builds the native, sanitizer, Windows and fuzzing builds and runs
# every test: native, under ASan + UBSan, the Windows build under Wine, and the fuzzers briefly.
set -uo pipefail
top=$(cd "$(dirname "$0")" && pwd)
cd "$top"
scripts/setup.sh || exit 1
export KX_JOBS=${KX_JOBS:-2}

failed=()
stage() {
    local name=$1
    shift
    echo "=== $name"
    local started=$SECONDS
    if "$@"; then
        echo "=== $name: passed ($((SECONDS - started)) s)"
    else
        echo "=== $name: FAILED ($((SECONDS - started)) s)"
        failed+=("$name")
    fi
}

run_ctest() { ctest --test-dir "build/$1" --output-on-failure -j "$KX_JOBS" --timeout 600; }

native() { scripts/build.sh native && run_ctest native; }
asan() {
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        bash -c 'scripts/build.sh asan && ctest --test-dir build/asan --output-on-failure -j "$KX_JOBS" --timeout 600'
}
windows() {
    scripts/build.sh windows || return 1
    scripts/wine-session.sh start || return 1
    # One Windows test at a time: while another Wine process starts, text that the controls
    # draw on the display can come out with other grey levels than the same text drawn off
    # screen, which the pixel tests would take for a fault. The whole stage takes about 8 min.
    ctest --test-dir build/windows --output-on-failure -j 1 --timeout 600
    local result=$?
    [ $result -eq 0 ] || retry_end_to_end
    result=$?
    scripts/wine-session.sh stop
    return $result
}

# The end-to-end tests drive real windows under Wine without a window manager, where a rare
# timing miss is no fault of the program: each that failed runs once more and is named in the
# summary. Any other test that failed, or an end-to-end test that failed twice, fails the stage.
retried=()
retry_end_to_end() {
    local log=build/windows/Testing/Temporary/LastTestsFailed.log name others=0 e2e=()
    [ -f "$log" ] || return 1
    while IFS=: read -r _ name; do
        case "$name" in
            e2e_*) e2e+=("$name") ;;
            *) others=$((others + 1)) ;;
        esac
    done <"$log"
    [ ${#e2e[@]} -ne 0 ] || return 1
    echo "=== retrying once: ${e2e[*]}"
    ctest --test-dir build/windows --output-on-failure -j 1 --timeout 600 \
        -R "^($(IFS='|'; echo "${e2e[*]}"))\$"
    local again=$?
    for name in "${e2e[@]}"; do
        if [ $again -ne 0 ] && grep -q ":$name\$" "$log"; then
            retried+=("$name (failed twice)")
        else
            retried+=("$name (passed the second time)")
        fi
    done
    [ $others -eq 0 ] && [ $again -eq 0 ]
}
fuzz() { scripts/build.sh fuzz && scripts/fuzz-smoke.sh; }
scripts_check() { tests/scripts/format_check.sh && tests/scripts/broken_build_fails.sh; }

# KX_STAGES chooses stages by name (default: all of them, in this order).
stages=${KX_STAGES:-"scripts native asan windows fuzz"}
for name in $stages; do
    case "$name" in
        scripts) stage "script checks" scripts_check ;;
        native) stage "native tests" native ;;
        asan) stage "sanitizer tests" asan ;;
        windows) stage "windows tests (wine)" windows ;;
        fuzz) stage "fuzz smoke" fuzz ;;
        *) echo "test.sh: unknown stage $name"; failed+=("$name") ;;
    esac
done

[ ${#retried[@]} -eq 0 ] || printf 'retried: %s\n' "${retried[@]}"
if [ ${#failed[@]} -ne 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "all tests passed"
