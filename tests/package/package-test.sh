#!/bin/bash
# Builds the Debian package from a built tree, checks its files and fields, runs the parvane-scan
# unpacked from it on a demo base, verifies the systemd user units, the desktop entry and runs
# lintian (each tool is required: scripts/deps.sh installs them).
# usage: package-test.sh BUILD_DIR DEMO_BASE_PROGRAM
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in systemd-analyze desktop-file-validate lintian; do
    command -v $tool >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
done

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail cpack; }
version=$(sed -n 's/^project(parvane VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
deb=$work/out/parvane_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb: $(ls "$work/out")"

contents=$(dpkg-deb -c "$deb" | awk '{print $1, $2, $6}')
expected="bin/parvane-scan share/man/fr/man1/parvane-scan.1.gz share/man/man1/parvane-scan.1.gz
    lib/systemd/user/parvane-scan.service lib/systemd/user/parvane-scan.timer
    lib/systemd/user/parvane-watch.service share/doc/parvane/copyright
    share/doc/parvane/changelog.gz share/doc/parvane/examples/parvane-scan.conf"
if grep -q '^PARVANE_GUI:BOOL=ON' "$build/CMakeCache.txt"; then
    expected+=" bin/parvane share/parvane/help-parvane.htm share/applications/parvane.desktop
        share/man/fr/man1/parvane.1.gz share/icons/hicolor/scalable/apps/parvane.svg"
    for size in 16 22 24 32 48 64 128 256; do expected+=" share/icons/hicolor/${size}x$size/apps/parvane.png"; done
fi
for file in $expected; do grep -q " ./usr/$file\$" <<<"$contents" || fail "missing /usr/$file"; done
! grep -v -e '^d.* root/root ' -e '^-.* root/root ' <<<"$contents" || fail "owner"
! grep -E '^d' <<<"$contents" | grep -v '^drwxr-xr-x ' || fail "directory permissions"

fields=$(dpkg-deb -f "$deb" Package Version Depends Recommends)
for pattern in '^Package: parvane$' "^Version: $version\$" '^Recommends: wine$' \
    '^Depends:.*libc6 (>= ' '^Depends:.*libstdc++6 (>= ' '^Depends:.*libqt6dbus6' \
    '^Depends:.*qt6-translations-l10n'; do
    grep -q "$pattern" <<<"$fields" || fail "fields lack $pattern: $fields"
done

dpkg -x "$deb" "$work/root"
scan=$work/root/usr/bin/parvane-scan
"$scan" --help | grep -q -- '--new-only' || fail "parvane-scan --help"
"$2" "$work/demo" --seed 1 --stocks 40 >/dev/null
mkdir "$work/home"
"$scan" --home "$work/home" --base "$work/demo" --proximity --daily --crossing --new-only --format tsv \
    >"$work/scan.out" 2>"$work/scan.err" || { cat "$work/scan.err"; fail "scan exit status $?"; }
[ "$(head -1 "$work/scan.out")" = $'Action\tSicovam\tDernier\tUT\tEcart%\tVar%\tCommentaires' ] || fail header
[ "$(wc -l <"$work/scan.out")" -gt 1 ] && grep -q '^FIN: 0 erreur' "$work/scan.err" || fail "no rows or errors"

units=$work/units
mkdir "$units" && cp "$work"/root/usr/lib/systemd/user/parvane-* "$units"
sed -i "s|^ExecStart=parvane-scan |ExecStart=$scan |" "$units"/parvane-*.service
grep -q "^ExecStart=$scan --notify" "$units/parvane-scan.service" || fail "service command"
grep -q "^ExecStart=$scan --watch --notify" "$units/parvane-watch.service" || fail "watch command"
! grep -q '^WantedBy' "$units/parvane-scan.service" || fail "the timer starts the scan"
grep -qx 'OnCalendar=Mon..Fri 18:30' "$units/parvane-scan.timer" && grep -qx 'Persistent=true' "$units/parvane-scan.timer" || fail timer
mkdir -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime systemd-analyze --user verify --man=no "$units"/parvane-* || fail "systemd-analyze verify"
desktop=$work/root/usr/share/applications/parvane.desktop
if [ -f "$desktop" ]; then desktop-file-validate "$desktop" || fail desktop; fi
lintian --fail-on error "$deb" || fail lintian
echo "package test passed: $(basename "$deb") (files, fields, scan, systemd-analyze, desktop-file-validate, lintian)"
