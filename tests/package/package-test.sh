#!/bin/bash
# Builds the Debian package from a configured and built tree, checks its files and dependencies,
# unpacks it into a temporary root, runs the unpacked parvane-scan on a demo base, verifies the
# systemd user units and runs lintian when it is installed.
# usage: package-test.sh BUILD_DIR DEMO_BASE_PROGRAM
set -euo pipefail
build=$1
demo_base=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/out/parvane_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single parvane_<version>_<arch>.deb: ${debs[*]}"
deb=${debs[0]}
version=$(sed -n 's/^project(parvane VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ "$(basename "$deb")" = "parvane_${version}_$(dpkg --print-architecture).deb" ] || fail "name $(basename "$deb")"

contents=$(dpkg-deb -c "$deb" | awk '{print $1, $2, $6}')
has_gui=$(grep -c '^PARVANE_GUI:BOOL=ON' "$build/CMakeCache.txt" || true)
expected=(./usr/bin/parvane-scan ./usr/share/man/fr/man1/parvane-scan.1.gz ./usr/share/man/man1/parvane-scan.1.gz
    ./usr/lib/systemd/user/parvane-scan.service ./usr/lib/systemd/user/parvane-scan.timer
    ./usr/share/doc/parvane/copyright ./usr/share/doc/parvane/changelog.gz
    ./usr/share/doc/parvane/examples/parvane-scan.conf)
if [ "$has_gui" = 1 ]; then
    expected+=(./usr/bin/parvane ./usr/share/parvane/help-parvane.htm ./usr/share/applications/parvane.desktop
        ./usr/share/icons/hicolor/scalable/apps/parvane.svg ./usr/share/man/fr/man1/parvane.1.gz)
    for size in 16 22 24 32 48 64 128 256; do
        expected+=(./usr/share/icons/hicolor/${size}x${size}/apps/parvane.png)
    done
fi
for file in "${expected[@]}"; do
    grep -q " $file\$" <<<"$contents" || fail "missing $file"
done
grep -v ' root/root ' <<<"$contents" && fail "files not owned by root"
grep -E '^d' <<<"$contents" | grep -v '^drwxr-xr-x ' && fail "directory permissions"

info=$(dpkg-deb -f "$deb" Package Version Architecture Depends Recommends Section Maintainer Description)
grep -qx "Package: parvane" <<<"$info" || fail "Package field"
grep -qx "Version: $version" <<<"$info" || fail "Version field"
grep -qx "Recommends: wine" <<<"$info" || fail "Recommends field"
grep -q '^Depends:.*libc6 (>= ' <<<"$info" || fail "Depends lacks libc6: $info"
grep -q '^Depends:.*libstdc++6 (>= ' <<<"$info" || fail "Depends lacks libstdc++6: $info"
grep -q '^Depends:.*libqt6dbus6' <<<"$info" || fail "Depends lacks Qt D-Bus (parvane-scan --notify): $info"
if [ "$has_gui" = 1 ]; then
    grep -q '^Depends:.*libqt6widgets6' <<<"$info" || fail "Depends lacks Qt Widgets: $info"
fi

root=$work/root
dpkg -x "$deb" "$root"
scan=$root/usr/bin/parvane-scan
"$scan" --help | grep -q -- '--new-only' || fail "parvane-scan --help"
"$demo_base" "$work/demo" --seed 1 --stocks 40 >/dev/null
mkdir "$work/home"
set +e
"$scan" --home "$work/home" --base "$work/demo" --proximity --daily --weekly --crossing --format tsv \
    >"$work/scan.out" 2>"$work/scan.err"
status=$?
set -e
[ $status -eq 0 ] || { cat "$work/scan.err"; fail "scan exit status $status"; }
head -1 "$work/scan.out" | grep -qx $'Action\tSicovam\tDernier\tUT\tEcart%\tVar%\tCommentaires' || fail "scan header"
[ "$(wc -l <"$work/scan.out")" -gt 1 ] || fail "the demo base gave no row"
grep -q '^FIN: ' "$work/scan.err" || fail "scan status: $(cat "$work/scan.err")"

if command -v systemd-analyze >/dev/null; then
    units=$work/units
    mkdir "$units"
    cp "$root"/usr/lib/systemd/user/parvane-scan.* "$units"
    sed -i "s|ExecStart=parvane-scan |ExecStart=$scan |" "$units/parvane-scan.service"
    export XDG_RUNTIME_DIR=$work/runtime
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    systemd-analyze --user verify --man=no "$units/parvane-scan.service" "$units/parvane-scan.timer" \
        || fail "systemd-analyze verify"
    grep -qx 'OnCalendar=Mon..Fri 18:30' "$units/parvane-scan.timer" || fail "timer calendar"
    grep -qx 'Persistent=true' "$units/parvane-scan.timer" || fail "timer persistence"
    grep -q "^ExecStart=$scan --notify --new-only " "$units/parvane-scan.service" || fail "service command"
fi

if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb" || fail "lintian"
fi
echo "package test passed: $(basename "$deb")"
