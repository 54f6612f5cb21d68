#!/usr/bin/env bash
# Builds Parvane and opens it on a demo base. The first run prepares .demo/ (git-ignored):
#   .demo/program/   the program folder: zarbel.ini and help-parvane.htm
#   .demo/korvix/    korvix.exe, the stand-in Korvix: the Windows one under Wine when wine and
#                    mingw-w64 are installed (Wine prefix $WINEPREFIX, else .demo/wine), else the Qt one
#   .demo/base/      a demo Korvix base (parvane-demo-base --seed 1)
# Without a display it runs the headless scan of the demo base instead. Extra arguments go to
# parvane (or to parvane-scan without a display). Remove .demo/ to start afresh.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh

build=build/release
demo=$top/.demo

echo "== build ($build)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(parvane parvane-scan parvane-demo-base)
standin=""
build_targets=$(cmake --build "$build" --target help)
if grep -q '^korvix-win32:' <<<"$build_targets" && command -v wine >/dev/null 2>&1; then
    targets+=(korvix-win32)
    standin=$build/tools/korvix-win32/korvix.exe
elif grep -q '^korvix-standin:' <<<"$build_targets"; then
    targets+=(korvix-standin)
    standin=$build/tools/korvix-standin/korvix.exe
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

if [ ! -f "$demo/program/zarbel.ini" ]; then
    echo "== demo program folder ($demo)"
    mkdir -p "$demo/program"
    rm -rf "$demo/base"
    "$build/tools/demo-base/parvane-demo-base" "$demo/base" --seed 1
    # zarbel.ini as the path dialog writes it: Windows-style line ends, Korvix's folder with its
    # final separator, the base layout relative to a base root.
    printf '[path]\r\nexe=%s/\r\ndroite=\\base\\droite\\\r\nhisto=\\base\\histo\\\r\nbase1=%s\r\nbase2=\r\nbase3=\r\n' \
        "$demo/korvix" "$demo/base" >"$demo/program/zarbel.ini.new"
    mv "$demo/program/zarbel.ini.new" "$demo/program/zarbel.ini"
fi
# Korvix and the help page follow the build and the sources.
mkdir -p "$demo/korvix"
if [ -n "$standin" ]; then
    cp "$standin" "$demo/korvix/korvix.exe"
elif [ ! -f "$demo/korvix/korvix.exe" ]; then
    # No stand-in Korvix in this tree: a korvix.exe that opens nothing lets Parvane start.
    printf '#!/bin/sh\nexit 0\n' >"$demo/korvix/korvix.exe"
    chmod +x "$demo/korvix/korvix.exe"
fi
cp src/app/resources/help-parvane.htm "$demo/program/help-parvane.htm"

if [[ "$standin" == */korvix-win32/* ]]; then
    # Parvane starts Korvix in this prefix. No Mono or Gecko installers, no debug chatter; a new
    # prefix is made here once, as it takes tens of seconds.
    export WINEPREFIX=${WINEPREFIX:-$demo/wine} WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "== wine prefix ($WINEPREFIX)"
        DISPLAY= wine wineboot -i
    fi
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): running the headless scan instead."
    exec "$build/src/cli/parvane-scan" --home "$demo/program" --proximity --daily --weekly --crossing "$@"
fi
echo "== parvane --home $demo/program"
exec "$build/src/app/parvane" --home "$demo/program" "$@"
