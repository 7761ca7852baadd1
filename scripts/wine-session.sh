#!/usr/bin/env bash
# Starts or stops the Wine session the Windows tests share: a prefix of the build, a persistent
# wineserver (so each test process starts fast) and a 24-bit virtual display.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="${KX_BUILD_ROOT:-$top/build}/windows"
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=${KX_DISPLAY:-:57}
case "${1:-}" in
    start)
        # The display first: Wine's desktop process, started with the services below, binds to
        # the display it finds then.
        mkdir -p "$build"
        if ! xdpyinfo -display "$display" >/dev/null 2>&1; then
            Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            echo $! >"$build/xvfb.pid"
            for _ in $(seq 100); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
        fi
        export DISPLAY="$display"
        if [ ! -d "$WINEPREFIX" ]; then
            echo "wine-session: creating the Wine prefix (once)"
            wineboot -i </dev/null >/dev/null 2>&1 || true
            wineserver -w || true
        fi
        # A server that is already running for the prefix stays; otherwise a persistent one starts.
        wineserver -p </dev/null >/dev/null 2>&1 || true
        # Start Wine's own services now, with no terminal or pipe: a service started by a test
        # program would inherit its output and keep ctest waiting for the end of it.
        wineboot </dev/null >/dev/null 2>&1 || true
        ;;
    stop)
        wineserver -k 2>/dev/null || true
        if [ -f "$build/xvfb.pid" ]; then
            kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true
            rm -f "$build/xvfb.pid"
        fi
        ;;
    *) echo "usage: wine-session.sh start|stop" >&2; exit 2 ;;
esac
