#!/usr/bin/env bash
# Checks Parvane the way CI does: packages, format check, one optimised build with warnings as
# errors and AddressSanitizer + UndefinedBehaviorSanitizer (build/ci), every test once, then a short
# run of each libFuzzer target (build/fuzz). Prints the time of each phase and the total; the last
# line is ctest's summary.
# Environment: PARVANE_JOBS (default: the number of processors), PARVANE_FUZZ_SECONDS (default 10,
# 0 skips the fuzzing run).
# `scripts/test.sh --tests-only [BUILD_DIR]` runs only the tests and their checks, on a build made
# before (build/ci by default).
#
# Green means that every test ran: a test that skips, is disabled, runs no case or fails makes the
# run fail, and so does a family of tests that is missing (scripts/check-test-run.py reads ctest's
# JUnit file; a test's family is the first part of its name). The run fails too when the tests
# changed the work tree (golden files are updated only by the update-goldens target).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

if [ -n "${PARVANE_UPDATE_GOLDEN:-}${PARVANE_GOLDEN_OUT:-}" ]; then
    echo "PARVANE_UPDATE_GOLDEN / PARVANE_GOLDEN_OUT are set: golden files are updated only by" >&2
    echo "'cmake --build build/dev --target update-goldens', never by the checking run." >&2
    exit 1
fi
# The work tree as the tests must leave it: the state of every tracked and untracked file.
tree_state() {
    git status --porcelain --untracked-files=all
    git diff HEAD --binary | sha1sum
    git ls-files -o --exclude-standard -z | xargs -0 -r sha1sum
}
tree_before=$(tree_state)
build=build/ci
tests_only=
if [ "${1:-}" = "--tests-only" ]; then
    tests_only=1
    build=${2:-build/ci}
fi

jobs=${PARVANE_JOBS:-$(nproc)}
fuzz_seconds=${PARVANE_FUZZ_SECONDS:-10}
timings=()
phase_start=0
phase() {
    phase_name=$1
    phase_start=$SECONDS
    echo "== $phase_name"
}
phase_end() {
    timings+=("$(printf '%-28s %4d s' "$phase_name" $((SECONDS - phase_start)))")
}

if [ -z "$tests_only" ]; then
    phase "packages"
    bash scripts/deps.sh
    phase_end

    phase "configure and format check"
    # Line tables (-g1) are all the sanitizers' reports need; full debug information makes every
    # compile about a fifth slower.
    cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
        -DPARVANE_WERROR=ON -DPARVANE_SANITIZE=ON -DPARVANE_BENCH=OFF >/dev/null
    if ! format_output=$(cmake --build build/ci --target format-check 2>&1); then
        grep -v '^\[' <<<"$format_output" >&2
        echo "Formatting differs from .clang-format: run 'cmake --build build/ci --target format'." >&2
        exit 1
    fi
    phase_end

    phase "build (sanitizers, -Werror)"
    # ccache keys on paths relative to the clone, so that another clone of the same commits on this
    # machine reuses the objects.
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$top} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
    cmake --build build/ci -j "$jobs"
    phase_end

fi

phase "tests"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
ctest_log=$build/ctest-output.txt
junit=$build/ctest-junit.xml
rm -f "$junit"
# Each family that this machine runs, and the parts that must not go missing. The CUPS tests need
# root (cups-pdf runs only as root): elsewhere they are left out, saying so, except under CI.
families=(core='^core[.]' cli='^cli[.]' notify='^cli[.]Notify' gui='^gui[.]'
    host.wine.openbox='^host[.]wine[.]openbox$' host.wine.bare='^host[.]wine[.]bare$'
    print='^print[.]' package.deb='^package[.]deb$' fuzz.replay='^fuzz[.]')
exclude=()
if [ "$(id -u)" -eq 0 ] || [ -n "${CI:-}" ]; then
    families+=(print.cups='^print[.]CupsPrint[.]')
else
    echo "print.cups: not run here (the private cupsd's cups-pdf queue needs root)"
    exclude=(-E '^print[.]CupsPrint[.]')
fi
status=0
ctest --test-dir "$build" --output-on-failure --output-junit "$top/$junit" -j "$jobs" "${exclude[@]}" 2>&1 |
    tee "$ctest_log" || status=$?
phase_end
summary=$(grep -E '^[0-9]+% tests passed' "$ctest_log" | tail -n 1 || true)
if ! python3 scripts/check-test-run.py "$junit" "${families[@]}"; then
    status=1
fi
if [ "$(tree_state)" != "$tree_before" ]; then
    echo "The tests changed the work tree:" >&2
    git status --short --untracked-files=all >&2
    status=1
fi
if [ "$status" -ne 0 ]; then
    echo "${summary:-ctest failed}; not every test ran and passed (see above)"
    exit 1
fi

if [ "$fuzz_seconds" -gt 0 ] && [ -z "$tests_only" ]; then
    phase "fuzzing (${fuzz_seconds} s per target)"
    bash fuzz/run-fuzzers.sh "$fuzz_seconds"
    phase_end
fi

echo "== time per phase"
printf '%s\n' "${timings[@]}"
printf '%-28s %4d s\n' "total" "$SECONDS"
echo "$summary"
