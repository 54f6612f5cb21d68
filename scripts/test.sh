#!/usr/bin/env bash
# Builds Parvane twice (warnings as errors; then AddressSanitizer and UndefinedBehaviorSanitizer)
# and runs every test in both builds, after the format check.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
bash scripts/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== format check"
cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPARVANE_WERROR=ON >/dev/null
if ! format_output=$(cmake --build build/ci --target format-check 2>&1); then
    grep -v '^\[' <<<"$format_output" >&2
    echo "Formatting differs from .clang-format: run 'cmake --build build/ci --target format'." >&2
    exit 1
fi

echo "== build (warnings as errors)"
cmake --build build/ci -j "$jobs"
echo "== tests"
ctest --test-dir build/ci --output-on-failure -j "$jobs"

echo "== build (sanitizers)"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPARVANE_WERROR=ON \
    -DPARVANE_SANITIZE=ON -DPARVANE_BENCH=OFF >/dev/null
cmake --build build/sanitize -j "$jobs"
echo "== tests (sanitizers)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

echo "== fuzzing (15 s per target)"
bash fuzz/run-fuzzers.sh 15
