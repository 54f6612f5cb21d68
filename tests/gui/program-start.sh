#!/usr/bin/env bash
# The real parvane program at its start, on an X server (tests/host/run-with-xvfb.sh): it deletes the
# previous errorlog.txt of its program folder and, when korvix.exe is not in the folder that
# zarbel.ini names, shows "Korvix n'est pas a la position indiquee" and ends with exit status 1 once
# the box is answered with Enter.
# usage: program-start.sh PARVANE
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/parvane-start.XXXXXX")
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/home" "$work/korvix" "$work/base/base"
printf '[path]\r\nexe=%s/korvix/\r\nbase1=%s/base\r\nbase2=\r\nbase3=\r\n' "$work" "$work" >"$work/home/zarbel.ini"
echo "a line of the last start" >"$work/home/errorlog.txt"
QT_QPA_PLATFORM=xcb "$1" --home "$work/home" >"$work/out" 2>&1 &
pid=$!
box=$(timeout 60 xdotool search --sync --onlyvisible --name '^Parvane$' | head -1) || fail "no box: $(cat "$work/out")"
[ ! -e "$work/home/errorlog.txt" ] || fail "the previous errorlog.txt is still there"
xdotool windowfocus --sync "$box" key Return
for _ in $(seq 1 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 1 ] || fail "exit status $status, not 1: $(cat "$work/out")"
echo "program start: previous error log deleted, Korvix missing said, exit status 1"
