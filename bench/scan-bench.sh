#!/usr/bin/env bash
# Times one whole scan of a large base against the cost of merely counting the lines of its
# histories (wc -l), warm (histories in the page cache) and cold (caches dropped, as root only),
# for several sizes of the reads of a history.
#
#   bench/scan-bench.sh [--base DIR] [--stocks N] [--lines N] [--runs N] [--chunks "KIB ..."]
#
# Builds parvane-scan in Release once per chunk size (build/bench-chunk-KIB; 1024 KiB reads a
# 200 KB history whole in one read) and parvane-demo-base, generates a demo base of 2,000 stocks
# with 5,000-line histories once (in DIR, by default build/bench/demo-base; an existing base of the
# same size is reused), then times, $runs times each and in turn, so that other work on the machine
# falls on every candidate alike:
#   parvane-scan --base DIR --proximity --daily --weekly --crossing --csv --format tsv >/dev/null
#   find DIR/base/histo -name '*.txt' -print0 | xargs -0 wc -l
# and prints, per chunk size, the best and the worst ratio to wc -l of the same round, warm and
# cold, and the peak resident memory of parvane-scan. Figures only: nothing here passes or fails.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
base="$top/build/bench/demo-base"
stocks=2000
lines=5000
runs=5
chunks="64 128 256 1024"

while [ $# -gt 0 ]; do
    case "$1" in
    --base) base=$2; shift 2 ;;
    --stocks) stocks=$2; shift 2 ;;
    --lines) lines=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --chunks) chunks=$2; shift 2 ;;
    *) echo "usage: $0 [--base DIR] [--stocks N] [--lines N] [--runs N] [--chunks \"KIB ...\"]" >&2; exit 64 ;;
    esac
done

build_with() { # build_with DIR [CMAKE ARGS...]
    local dir=$1
    shift
    cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARVANE_GUI=OFF -DBUILD_TESTING=OFF \
        -DPARVANE_BENCH=OFF "$@" >/dev/null
    cmake --build "$dir" -j 2 --target parvane-scan parvane-demo-base >/dev/null
}

echo "== builds (Release)"
build_with "$top/build/bench"
demo="$top/build/bench/tools/demo-base/parvane-demo-base"
for kib in $chunks; do
    build_with "$top/build/bench-chunk-$kib" -DPARVANE_HISTORY_CHUNK_KIB="$kib"
done

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

run_scan() { # run_scan KIB
    "$top/build/bench-chunk-$1/src/cli/parvane-scan" --home "$home" --base "$base" --proximity --daily \
        --weekly --crossing --csv --format tsv >/dev/null 2>"$home/status"
}
run_wc() {
    find "$histo" -name '*.txt' -print0 | xargs -0 wc -l >/dev/null
}
drop_caches() {
    sync
    echo 3 >/proc/sys/vm/drop_caches
}
# Wall-clock seconds of one command.
timed() {
    local start end
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    awk -v ns="$((end - start))" 'BEGIN { printf "%.4f", ns / 1e9 }'
}

modes="warm"
if [ "$(id -u)" -eq 0 ] && [ -w /proc/sys/vm/drop_caches ]; then
    modes="warm cold"
else
    echo "   (not root: cold runs skipped)"
fi

results=$(mktemp)
for mode in $modes; do
    echo "== $mode runs ($runs rounds)"
    find "$base/base" -type f -print0 | xargs -0 cat >/dev/null
    for round in $(seq "$runs"); do
        for kib in $chunks; do
            [ "$mode" = cold ] && drop_caches
            scan_time=$(timed run_scan "$kib")
            [ "$mode" = cold ] && drop_caches
            wc_time=$(timed run_wc)
            echo "$mode $kib $scan_time $wc_time" >>"$results"
        done
    done
done

echo "   scan status: $(tr '\n' ' ' <"$home/status")"
printf '   %-6s %9s  %-24s %-24s %s\n' "chunk" "" "warm scan/wc -l (best-worst)" "cold scan/wc -l (best-worst)" \
    "peak RSS"
for kib in $chunks; do
    rss=$(/usr/bin/time -v "$top/build/bench-chunk-$kib/src/cli/parvane-scan" --home "$home" --base "$base" \
        --proximity --daily --weekly --crossing --csv --format tsv 2>&1 >/dev/null |
        awk -F': ' '/Maximum resident set size/ { print $2 }')
    ratio() {
        awk -v m="$1" -v k="$kib" '$1 == m && $2 == k { r = $3 / $4; s += $3; w += $4
            if (n == 0 || r < lo) lo = r; if (n == 0 || r > hi) hi = r; n++ }
            END { if (n) printf "%.2f-%.2f (%.2fs/%.2fs)", lo, hi, s / n, w / n; else printf "-" }' "$results"
    }
    label="$kib KiB"
    [ "$kib" -ge 1024 ] && label="$kib KiB (whole file)"
    printf '   %-16s %-26s %-26s %s MiB\n' "$label" "$(ratio warm)" "$(ratio cold)" "$((rss / 1024))"
done
rm -f "$results"
echo "   (ratios: best and worst over the rounds; in brackets the mean scan and wc -l times)"
echo "   goal: warm within 1.2x, cold within 1.1x wc -l, peak RSS under 30 MiB"
