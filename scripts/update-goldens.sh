#!/usr/bin/env bash
# Rewrites the golden files of tests/data from what the built tests produce now: the scan cases'
# expected/ folders (tests/data/scan) and parvane-scan's transcripts (tests/data/cli). Run it through
# the build, which rebuilds the test programs first:
#     cmake --build build/dev --target update-goldens
# then review the difference with git diff. It refuses to run under CI, where goldens are only read.
# usage: update-goldens.sh BUILD_DIR
set -euo pipefail
build=${1:?usage: update-goldens.sh BUILD_DIR}
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -n "${CI:-}" ]; then
    echo "update-goldens: refused under CI (CI is set): golden files change only by a developer's hand." >&2
    exit 1
fi
out=$(mktemp -d "${TMPDIR:-/tmp}/parvane-goldens.XXXXXX")
trap 'rm -rf "$out" "$out.log"' EXIT
# The tests fail where the output differs: that is the point here.
PARVANE_GOLDEN_OUT=$out QT_QPA_PLATFORM=offscreen \
    ctest --test-dir "$build" -R '^(core[.].*ScanCases|cli[.])' -j "$(nproc)" >"$out.log" 2>&1 || true
if [ -z "$(ls -A "$out")" ]; then
    cat "$out.log" >&2
    echo "update-goldens: the tests wrote nothing" >&2
    exit 1
fi
rm -f "$out.log"
# A scan case's expected/ folder is replaced whole, so that a file the run no longer writes goes.
for case in "$out"/scan/*/; do
    name=$(basename "$case")
    rm -rf "$top/tests/data/scan/$name/expected"
    cp -a "$case/expected" "$top/tests/data/scan/$name/"
done
rm -rf "$out/scan"
cp -a "$out"/. "$top/tests/data/"
git -C "$top" status --short -- tests/data
