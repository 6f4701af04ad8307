#!/bin/sh
# orvalis assess: samples per second beside orvalis batch on the same
# points, and the wall time on 10^5 footprints and 10^4 road segments in
# one GeoPackage. Usage: bench/assess.sh [BUILD_DIR] [WORK_DIR]
# Each command runs ROUNDS times (default 3); the best wall time is shown
# with the processor time (user + system) of that run.
set -eu
build=${1:-build}
work=${2:-$(mktemp -d)}
rounds=${ROUNDS:-3}
here=$(dirname "$0")
orvalis=$build/orvalis
site="-H 8 -B 20 --vol 60000 -S 6 -D 0.1"
world="--origin 2600000,1200000 --azimuth 120"

if [ ! -f "$work/objekte.gpkg" ]; then
    python3 "$here/assess_gen.py" "$work" 100000 10000 1000000
    csv="-oo KEEP_GEOM_COLUMNS=NO -a_srs EPSG:2056"
    ogr2ogr -f GPKG "$work/objekte.gpkg" "$work/footprints.csv" $csv -nln gebaeude
    ogr2ogr -f GPKG -append "$work/objekte.gpkg" "$work/roads.csv" $csv -nln strassen
    ogr2ogr -f GPKG "$work/points.gpkg" "$work/points.csv" $csv -nln punkte \
        -oo X_POSSIBLE_NAMES=E -oo Y_POSSIBLE_NAMES=N
fi

# best wall seconds and the processor seconds of that run: "WALL CPU"
timed() {
    best=
    for _ in $(seq "$rounds"); do
        /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null
        this=$(awk '{print $1, $2 + $3}' "$work/time")
        best=$(printf '%s\n%s\n' "$this" "${best:-1e9 0}" | sort -g | head -1)
    done
    echo "$best"
}

rate() { # COUNT "WALL CPU"
    echo "$2" | awk -v n="$1" '{printf "%.2f s wall (%.2f s processor), %.0f per s", $1, $2, n / $1}'
}

tb=$(timed "$orvalis" batch $site $world -o "$work/batch.csv" "$work/points.csv")
tp=$(timed "$orvalis" assess $site $world "$work/points.gpkg")
to=$(timed "$orvalis" assess $site $world -o "$work/points_out.gpkg" "$work/points.gpkg")
tn=$(timed "$orvalis" assess $site $world "$work/objekte.gpkg")
tf=$(timed "$orvalis" assess $site $world -o "$work/objekte_out.gpkg" "$work/objekte.gpkg")
samples=$("$orvalis" assess $site $world --json "$work/objekte.gpkg" |
    awk -F': ' '/"samples"/ {print $2 + 0}')
echo "batch,  10^6 points, -o CSV:              $(rate 1000000 "$tb")"
echo "assess, 10^6 points, summary only:      $(rate 1000000 "$tp")"
echo "assess, 10^6 points, -o GPKG:           $(rate 1000000 "$to")"
echo "assess, objects ($samples samples), summary only: $(rate "$samples" "$tn")"
echo "assess, objects ($samples samples), -o GPKG:      $(rate "$samples" "$tf")"
