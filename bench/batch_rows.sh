#!/usr/bin/env bash
# Rows per second of `orvalis batch` on ROWS generated points (x,y, site by
# options, output to a file), beside the calculator fed the same points
# through its dialogue and the model alone on them; peak resident memory
# of orvalis batch on ROWS rows and on 10 rows.
#
# Usage: bench/batch_rows.sh [BUILD_DIR]      (default: build, a Release build)
# Environment:
#   ROWS     points (default 1000000)
#   ROUNDS   timed runs of each program; the best counts (default 5)
#   SEED     seed of the point generator (default 20261213)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$here/..
build=${1:-$top/build}
rows=${ROWS:-1000000}
rounds=${ROUNDS:-5}
seed=${SEED:-20261213}
orvalis=$build/orvalis
calc=$build/orvalis2d
for p in "$orvalis" "$calc" "$build/liborvalis.a"; do
    [[ -e $p ]] || { echo "batch_rows.sh: $p missing (build first)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The calculator clears the screen once through `cls`: a no-op first on PATH.
mkdir "$work/bin"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/cls"
chmod +x "$work/bin/cls"
export PATH="$work/bin:$PATH"

# Points below the breach of the initial site, all inside the tables:
# x from 10 to 100 m, y from -40 to 40 m, two decimals.
awk -v n="$rows" -v seed="$seed" 'BEGIN {
    srand(seed); print "x,y"
    for (i = 0; i < n; i++) printf "%.2f,%.2f\n", 10 + 90 * rand(), -40 + 80 * rand()
}' >"$work/pts.csv"
head -n 11 "$work/pts.csv" >"$work/pts10.csv"
# The same points as dialogue passes: a calculation, five blank answers that
# keep the site, x and y; then the exit command.
awk -F, 'NR > 1 { printf "i\n\n\n\n\n\n%s\n%s\n", $1, $2 } END { print "x" }' \
    "$work/pts.csv" >"$work/session.in"

# The model alone, built here like the Release build.
c++ -std=c++20 -O3 -DNDEBUG -ffp-contract=off -fno-fast-math -I"$top/src" \
    "$here/rows/model.cpp" "$build/src/csv/liborv_csv.a" "$build/liborvalis.a" -o "$work/model"

now() { date +%s%N; }
# Runs "$@" ROUNDS times; prints the best and the median wall time in ns
# and the largest peak RSS in KiB.
best_of() {
    local times=() rss=0 t0 t1 m
    for ((r = 0; r < rounds; r++)); do
        t0=$(now)
        /usr/bin/time -f %M -o "$work/rss" "$@"
        t1=$(now)
        m=$(tail -n 1 "$work/rss")
        times+=($((t1 - t0)))
        ((m > rss)) && rss=$m
    done
    printf '%s\n' "${times[@]}" | sort -n | awk -v rss="$rss" '
        { t[NR] = $1 } END { print t[1], t[int((NR + 1) / 2)], rss }'
}

echo "machine:  $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "load:     $(cut -d' ' -f1-3 /proc/loadavg) (before)"
echo "points:   $rows, $(wc -c <"$work/pts.csv") bytes of CSV"

site=(-H 5 -B 10 --vol 4000 -S 1 -D 0.15)
read -r t_batch m_batch rss_batch < <(best_of "$orvalis" batch "$work/pts.csv" -o "$work/out.csv" "${site[@]}")
read -r _ _ rss_small < <(best_of "$orvalis" batch "$work/pts10.csv" -o "$work/out10.csv" "${site[@]}")
lines=$(wc -l <"$work/out.csv")
computed=$(awk -F, 'NR > 1 && $7 == 0' "$work/out.csv" | wc -l)
((lines == rows + 1)) || { echo "batch_rows.sh: $lines output lines" >&2; exit 1; }

read -r t_calc m_calc rss_calc < <(best_of sh -c '"$1" <"$2" >"$3"' sh "$calc" "$work/session.in" "$work/session.out")
results=$(grep -c 'spezifischer Abfluss' "$work/session.out" || true)

read -r n_model ok_model t_model _ < <("$work/model" "$work/pts.csv" "$rounds")

awk -v n="$rows" -v tb="$t_batch" -v mb="$m_batch" -v tc="$t_calc" -v mc="$m_calc" -v tm="$t_model" -v rb="$rss_batch" \
    -v rs="$rss_small" -v rc="$rss_calc" -v comp="$computed" -v res="$results" -v okm="$ok_model" 'BEGIN {
    rb_s = n / (tb / 1e9); rc_s = n / (tc / 1e9); rm_s = n / tm
    printf "batch:    best %.3f s, %.0f rows/s (median %.3f s, %.0f rows/s; %d computed)\n", tb / 1e9, rb_s, mb / 1e9, n / (mb / 1e9), comp
    printf "          peak RSS %d KiB; on 10 rows %d KiB (+%d KiB)\n", rb, rs, rb - rs
    printf "dialogue: best %.3f s, %.0f points/s (median %.3f s, %.0f points/s; %d results), peak RSS %d KiB\n", tc / 1e9, rc_s, mc / 1e9, n / (mc / 1e9), res, rc
    printf "model:    %.3f s, %.0f points/s (%d computed)\n", tm, rm_s, okm
    printf "ratios:   batch/dialogue %.1f (best), %.1f (median); batch/model %.2f\n", rb_s / rc_s, (n / (mb / 1e9)) / (n / (mc / 1e9)), rb_s / rm_s
}'
echo "load:     $(cut -d' ' -f1-3 /proc/loadavg) (after)"
