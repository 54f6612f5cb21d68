#!/usr/bin/env bash
# Times one whole scan of a large base against the cost of merely counting the lines of the files
# it reads (wc -l over the trend-line files and the histories, in the scan's order) and of the
# histories alone, warm (files in the page cache) and cold (caches dropped), for several read-ahead
# windows (the number of stocks whose files the scan asks the kernel to read ahead).
#
#   bench/scan-bench.sh [--dir DIR] [--sizes "STOCKSxLINES ..."] [--runs N] [--windows "N ..."]
#
# Builds parvane-scan and parvane-demo-base in Release once (build/bench, with
# PARVANE_READAHEAD_FROM_ENV so that $PARVANE_READAHEAD_WINDOW sets the window; the product's scan
# has a fixed one), generates each base once (DIR/base-STOCKSxLINES, by default under build/bench;
# an existing base is reused), then times, $runs rounds, each round in turn:
#   find ... | xargs -0 wc -l        over the trend-line files and histories, then the histories
#   parvane-scan --base BASE --proximity --daily --weekly --crossing --csv --format tsv >/dev/null
#                                    once per window
# so that other work on the machine falls on every candidate alike. Cold runs drop the caches
# before each command (sync; echo 3 >/proc/sys/vm/drop_caches, as root); where that cannot be
# done, every file of the base is evicted with posix_fadvise(POSIX_FADV_DONTNEED) instead (the
# folders' entries and inodes then stay cached), and the table says so; the programs and their
# libraries are read back into the cache, so that only the base's files are cold. Prints, per base and
# window, the best, the worst and the median ratio to the wc -l times of the same round, the mean
# times and the peak resident memory of the scan, and checks that every window printed the same list. Figures
# only: nothing here passes or fails.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
dir="$top/build/bench"
sizes="2000x5000 20000x400"
runs=5
windows="0 8 32 128"

while [ $# -gt 0 ]; do
    case "$1" in
    --dir) dir=$2; shift 2 ;;
    --sizes) sizes=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --windows) windows=$2; shift 2 ;;
    *)
        echo "usage: $0 [--dir DIR] [--sizes \"STOCKSxLINES ...\"] [--runs N] [--windows \"N ...\"]" >&2
        exit 64
        ;;
    esac
done

build="$top/build/bench"
echo "== build (Release, window from \$PARVANE_READAHEAD_WINDOW)"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPARVANE_GUI=OFF -DBUILD_TESTING=OFF \
    -DPARVANE_BENCH=OFF -DPARVANE_READAHEAD_FROM_ENV=ON >/dev/null
cmake --build "$build" -j 2 --target parvane-scan parvane-demo-base >/dev/null
scan="$build/src/cli/parvane-scan"
demo="$build/tools/demo-base/parvane-demo-base"
echo "   $(nproc) cores, $(awk '/MemTotal/ { printf "%d MiB", $2 / 1024 }' /proc/meminfo), kernel $(uname -r)," \
    "$(df -T "$dir" 2>/dev/null | awk 'NR == 2 { print $2 }' || true) file system"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cold_by="drop_caches"
if [ "$(id -u)" -ne 0 ] || ! { sync && echo 3 >/proc/sys/vm/drop_caches; } 2>/dev/null; then
    cold_by="fadvise"
fi
# The programs timed and their libraries: read again after the caches are dropped, so that cold
# runs time the base's files, not the loading of the programs.
programs=$( (echo "$scan"; command -v wc xargs; ldd "$scan" | awk '$3 ~ /^\// { print $3 }') | sort -u)
# Empties the page cache of every file of the base.
evict() { # evict BASE
    sync
    if [ "$cold_by" = drop_caches ]; then
        echo 3 >/proc/sys/vm/drop_caches
        # shellcheck disable=SC2086
        cat $programs >/dev/null
    else
        find "$1" -type f -print0 | python3 -c '
import os, sys
for name in sys.stdin.buffer.read().split(b"\0"):
    if name:
        fd = os.open(name, os.O_RDONLY | os.O_NONBLOCK)
        os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
        os.close(fd)'
    fi
}
# Wall-clock seconds of one command.
timed() {
    local start end
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    awk -v ns="$((end - start))" 'BEGIN { printf "%.4f", ns / 1e9 }'
}
run_scan() { # run_scan BASE WINDOW
    PARVANE_READAHEAD_WINDOW=$2 "$scan" --home "$work/home" --base "$1" --proximity --daily --weekly \
        --crossing --csv --format tsv >"$work/list-$2" 2>"$work/status"
}
wc_files() { # wc_files LIST
    xargs -0 wc -l <"$1" >/dev/null
}

for size in $sizes; do
    stocks=${size%x*}
    lines=${size#*x}
    base="$dir/base-$size"
    if [ "$(cat "$base/.bench-base" 2>/dev/null)" != "$stocks $lines" ]; then
        echo "== generating $stocks stocks x $lines lines in $base"
        rm -rf "$base"
        mkdir -p "$base"
        "$demo" "$base" --stocks "$stocks" --lines "$lines" >/dev/null
        echo "$stocks $lines" >"$base/.bench-base"
    fi
    # The files that the scan reads, in its order: each trend-line file, then its history.
    (cd "$base/base/droite" && find . -maxdepth 1 -name '*.txt' -printf '%f\n' |
        LC_ALL=C awk '{ print tolower($0) "\t" $0 }' | LC_ALL=C sort -t "$(printf '\t')" -k1,1 -k2,2 | cut -f 2) |
        while IFS= read -r name; do
            printf '%s\0' "$base/base/droite/$name"
            [ -f "$base/base/histo/$name" ] && printf '%s\0' "$base/base/histo/$name"
        done >"$work/same"
    tr '\0' '\n' <"$work/same" | grep '/base/histo/' | tr '\n' '\0' >"$work/histo"
    same_bytes=$(xargs -0 cat <"$work/same" | wc -c)
    echo "== $stocks stocks x $lines lines: $(tr -cd '\0' <"$work/same" | wc -c) files," \
        "$((same_bytes / 1024 / 1024)) MiB ($runs rounds, cold by $cold_by)"

    results="$work/results"
    : >"$results"
    for mode in warm cold; do
        xargs -0 cat <"$work/same" >/dev/null
        for _ in $(seq "$runs"); do
            [ "$mode" = cold ] && evict "$base"
            same=$(timed wc_files "$work/same")
            [ "$mode" = cold ] && evict "$base"
            histo=$(timed wc_files "$work/histo")
            for window in $windows; do
                [ "$mode" = cold ] && evict "$base"
                echo "$mode $window $(timed run_scan "$base" "$window") $same $histo" >>"$results"
            done
        done
    done

    echo "   scan status: $(tr '\n' ' ' <"$work/status")"
    printf '   %-7s %-36s %-36s %-36s %-36s %s\n' "window" "warm scan/wc same" "warm scan/wc histories" \
        "cold scan/wc same" "cold scan/wc histories" "peak RSS"
    first=""
    for window in $windows; do
        rss=$(PARVANE_READAHEAD_WINDOW=$window /usr/bin/time -f '%M' "$scan" --home "$work/home" --base "$base" \
            --proximity --daily --weekly --crossing --csv --format tsv 2>&1 >/dev/null | tail -n 1)
        ratio() { # ratio MODE COLUMN: best-worst and median of scan / wc, and the mean times
            awk -v m="$1" -v w="$window" -v c="$2" '$1 == m && $2 == w { r = $3 / $c; s += $3; t += $c
                for (i = n + 0; i > 0 && v[i - 1] > r; i--) v[i] = v[i - 1]; v[i] = r; n++ }
                END { if (!n) { printf "-"; exit }
                    med = n % 2 ? v[(n - 1) / 2] : (v[n / 2 - 1] + v[n / 2]) / 2
                    printf "%.2f-%.2f, %.2f (%.2fs/%.2fs)", v[0], v[n - 1], med, s / n, t / n }' "$results"
        }
        printf '   %-7s %-36s %-36s %-36s %-36s %s MiB\n' "$window" "$(ratio warm 4)" "$(ratio warm 5)" \
            "$(ratio cold 4)" "$(ratio cold 5)" "$((rss / 1024))"
        [ -z "$first" ] && first=$window
        cmp -s "$work/list-$first" "$work/list-$window" || echo "   !! window $window printed another list"
    done
done
echo "   (ratio of the scan's time to wc -l's of the same round: best-worst over the rounds, median;"
echo "    in brackets the mean times of the scan and of wc -l)"
echo "   goal: cold within 0.8x and warm within 1.0x wc -l over the same files, peak RSS under 30 MiB"
