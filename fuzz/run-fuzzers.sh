#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, build/fuzz) when needed and runs each for SECONDS on a copy
# of its seed corpus, printing its executions and coverage. New corpus entries and crash files go
# to a temporary folder, never into the source tree; it is removed after a clean run unless
# PARVANE_FUZZ_KEEP is set. Fails when a target crashes.
# Usage: fuzz/run-fuzzers.sh SECONDS [TARGET...]   (all targets when none is named)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: run-fuzzers.sh SECONDS [TARGET...]}
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(HistoryFuzzer EvaluationFuzzer IniFileFuzzer GroupFileFuzzer
             NumberRulesFuzzer)
fi
build=${PARVANE_FUZZ_BUILD:-$top/build/fuzz}

if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DPARVANE_FUZZ=ON -DPARVANE_GUI=OFF -DBUILD_TESTING=OFF -DPARVANE_BENCH=OFF \
        -DPARVANE_WERROR=ON >/dev/null
fi
cmake --build "$build" -j 2 --target "${targets[@]}"

work=$(mktemp -d "${TMPDIR:-/tmp}/parvane-fuzz-run.XXXXXX")
echo "== fuzzing ${#targets[@]} target(s) for ${seconds} s each; work folder $work"
failed=0
for target in "${targets[@]}"; do
    corpus="$work/$target/corpus"
    mkdir -p "$corpus" "$work/$target/crashes"
    cp "$top/fuzz/corpus/$target/"* "$corpus/"
    seeds=$(ls "$corpus" | wc -l)
    log="$work/$target/log.txt"
    status=0
    # The targets' own scratch files go to the work folder too.
    (cd "$work/$target" && TMPDIR="$work/$target" ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$work/$target/crashes/" "$corpus" >"$log" 2>&1) || status=$?
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
    execs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}' || true)
    entries=$(ls "$corpus" | wc -l)
    echo "$target: executions ${execs:-?}; ${done_line:-no final line}; corpus $seeds -> $entries files"
    if [ "$status" -ne 0 ]; then
        echo "$target FAILED (exit $status); log: $log; crash files:" >&2
        ls "$work/$target/crashes" >&2 || true
        grep -E 'ERROR|SUMMARY|runtime error|deadly signal' "$log" | head -n 5 >&2 || true
        failed=1
    fi
done
if [ "$failed" -eq 0 ] && [ -z "${PARVANE_FUZZ_KEEP:-}" ]; then
    rm -rf "$work"
else
    echo "work folder kept: $work"
fi
exit "$failed"
