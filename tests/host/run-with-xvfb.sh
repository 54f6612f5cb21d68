#!/usr/bin/env bash
# Runs a program against a private Xvfb server: starts Xvfb on a free display (it names the display
# through -displayfd), exports DISPLAY, runs the program and stops the server again.
# Usage: run-with-xvfb.sh PROGRAM [ARGUMENT...]
# With PARVANE_TEST_WINDOW_MANAGER set (for example to "openbox"), that window manager runs on the
# server too, so that the EWMH side of the host layer is exercised.
set -euo pipefail

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "run-with-xvfb: Xvfb is not installed" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/parvane-xvfb.XXXXXX")
xvfb_pid=
cleanup() {
    if [[ -n "$xvfb_pid" ]]; then
        if [[ -n "${wm_pid:-}" ]]; then
            kill "$wm_pid" 2>/dev/null || true
            wait "$wm_pid" 2>/dev/null || true
        fi
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!

# Xvfb writes the display number once it accepts connections.
for _ in $(seq 1 400); do
    if [[ -s "$work/display" ]] && grep -q '[0-9]' "$work/display"; then
        break
    fi
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "run-with-xvfb: Xvfb ended at start:" >&2
        cat "$work/xvfb.log" >&2
        exit 1
    fi
    sleep 0.05
done
display=$(tr -dc '0-9' <"$work/display")
if [[ -z "$display" ]]; then
    echo "run-with-xvfb: Xvfb did not name a display" >&2
    exit 1
fi

export DISPLAY=":$display"
unset WAYLAND_DISPLAY

if [[ -n "${PARVANE_TEST_WINDOW_MANAGER:-}" ]]; then
    "$PARVANE_TEST_WINDOW_MANAGER" >"$work/wm.log" 2>&1 &
    wm_pid=$!
    # A window manager announces itself through _NET_SUPPORTING_WM_CHECK on the root window; a run
    # meant for one never goes on bare.
    for _ in $(seq 1 200); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            break
        fi
        sleep 0.05
    done
    if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
        echo "run-with-xvfb: $PARVANE_TEST_WINDOW_MANAGER did not start:" >&2
        cat "$work/wm.log" >&2
        exit 1
    fi
fi
status=0
"$@" || status=$?
exit "$status"
