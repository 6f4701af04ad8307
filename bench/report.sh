#!/bin/sh
# orvalis report: the wall time of a PDF and an HTML report over 10^3
# footprints (10 x 15 m, as in the assess benchmark), with their labels.
# Usage: bench/report.sh [BUILD_DIR] [WORK_DIR]
# Each command runs ROUNDS times (default 5); the best wall time is shown
# with the processor time (user + system) of that run.
set -eu
build=${1:-build}
work=${2:-$(mktemp -d)}
mkdir -p "$work"
rounds=${ROUNDS:-5}
here=$(dirname "$0")
orvalis=$build/orvalis
site="-H 8 -B 20 --vol 60000 -S 6 -D 0.1"
world="--origin 2600000,1200000 --azimuth 120 --crs EPSG:2056"

if [ ! -f "$work/gebaeude.gpkg" ]; then
    python3 "$here/assess_gen.py" "$work" 1000 0 0
    ogr2ogr -f GPKG "$work/gebaeude.gpkg" "$work/footprints.csv" \
        -oo KEEP_GEOM_COLUMNS=NO -a_srs EPSG:2056 -nln gebaeude
fi

# best wall seconds and the processor seconds of that run: "WALL CPU"
timed() {
    best=
    for _ in $(seq "$rounds"); do
        /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null
        this=$(awk '{print $1, $2 + $3}' "$work/time")
        best=$(printf '%s\n%s\n' "$this" "${best:-1e9 0}" | sort -g | head -1)
    done
    echo "$best" | awk '{printf "%.2f s wall (%.2f s processor)", $1, $2}'
}

args="$work/gebaeude.gpkg $site $world --title Benchmark --label id"
echo "report, 10^3 footprints, PDF:  $(timed "$orvalis" report $args -o "$work/bericht.pdf")"
echo "report, 10^3 footprints, HTML: $(timed "$orvalis" report $args -o "$work/bericht.html")"
echo "map, same site, PNG:           $(timed "$orvalis" map $site $world -o "$work/karte.png")"
