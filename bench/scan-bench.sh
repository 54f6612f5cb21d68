#!/usr/bin/env bash
# Times one whole scan of a large base against the cost of merely reading its histories.
#
#   bench/scan-bench.sh [--base DIR] [--stocks N] [--lines N] [--runs N]
#
# Builds parvane-scan and parvane-demo-base in Release (build/bench), generates a demo base of
# 2,000 stocks with 5,000-line histories once (in DIR, by default build/bench/demo-base; an
# existing base of the same size is reused), warms the page cache, then takes the best of three
# runs of:
#   parvane-scan --base DIR --proximity --daily --weekly --crossing --csv --format tsv >/dev/null
#   find DIR/base/histo -name '*.txt' -print0 | xargs -0 cat | wc -l
#   find DIR/base/histo -name '*.txt' -print0 | xargs -0 wc -l
# and prints the times, their ratios and the peak resident memory of parvane-scan. Figures only:
# nothing here passes or fails.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/bench"
base="$build/demo-base"
stocks=2000
lines=5000
runs=3

while [ $# -gt 0 ]; do
    case "$1" in
    --base) base=$2; shift 2 ;;
    --stocks) stocks=$2; shift 2 ;;
    --lines) lines=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) echo "usage: $0 [--base DIR] [--stocks N] [--lines N] [--runs N]" >&2; exit 64 ;;
    esac
done

echo "== build (Release) in $build"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARVANE_GUI=OFF -DBUILD_TESTING=OFF \
    -DPARVANE_BENCH=OFF >/dev/null
cmake --build "$build" -j 2 --target parvane-scan parvane-demo-base >/dev/null
scan="$build/src/cli/parvane-scan"
demo="$build/tools/demo-base/parvane-demo-base"

histo="$base/base/histo"
stamp="$base/.bench-base"
if [ "$(cat "$stamp" 2>/dev/null)" != "$stocks $lines" ]; then
    echo "== generating $stocks stocks x $lines lines in $base"
    rm -rf "$base"
    mkdir -p "$base"
    "$demo" "$base" --stocks "$stocks" --lines "$lines"
    echo "$stocks $lines" >"$stamp"
fi
files=$(find "$histo" -name '*.txt' | wc -l)
bytes=$(find "$histo" -name '*.txt' -print0 | xargs -0 cat | wc -c)
echo "   $files histories, $((bytes / 1024 / 1024)) MiB"

home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

run_scan() {
    "$scan" --home "$home" --base "$base" --proximity --daily --weekly --crossing --csv --format tsv >/dev/null 2>"$home/status"
}
run_cat_wc() {
    find "$histo" -name '*.txt' -print0 | xargs -0 cat | wc -l >/dev/null
}
run_wc() {
    find "$histo" -name '*.txt' -print0 | xargs -0 wc -l >/dev/null
}

# Best wall-clock time of $runs runs of a function, in seconds.
best_of() {
    local best="" start end elapsed
    for _ in $(seq "$runs"); do
        start=$(date +%s%N)
        "$1"
        end=$(date +%s%N)
        elapsed=$((end - start))
        if [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; then
            best=$elapsed
        fi
    done
    awk -v ns="$best" 'BEGIN { printf "%.3f", ns / 1e9 }'
}

echo "== warming the cache"
find "$base/base" -type f -print0 | xargs -0 cat >/dev/null
run_scan
echo "   scan status: $(tr '\n' ' ' <"$home/status")"
echo "   rows: $("$scan" --home "$home" --base "$base" --proximity --daily --weekly --crossing --format tsv 2>/dev/null | tail -n +2 | wc -l)"

echo "== timing (best of $runs)"
scan_time=$(best_of run_scan)
cat_time=$(best_of run_cat_wc)
wc_time=$(best_of run_wc)
rss=$(/usr/bin/time -v "$scan" --home "$home" --base "$base" --proximity --daily --weekly --crossing --csv \
    --format tsv 2>&1 >/dev/null | awk -F': ' '/Maximum resident set size/ { print $2 }')

printf '   parvane-scan                 %8s s\n' "$scan_time"
printf '   cat | wc -l                  %8s s   scan / this: %s\n' "$cat_time" \
    "$(awk -v a="$scan_time" -v b="$cat_time" 'BEGIN { printf "%.2f", a / b }')"
printf '   wc -l FILES                  %8s s   scan / this: %s\n' "$wc_time" \
    "$(awk -v a="$scan_time" -v b="$wc_time" 'BEGIN { printf "%.2f", a / b }')"
printf '   parvane-scan peak RSS        %8s KiB (%s MiB)\n' "$rss" "$((rss / 1024))"
echo "   goal: scan within 1.5x wc -l, peak RSS under 30 MiB"
