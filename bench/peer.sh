#!/bin/sh
# orvalis assess beside the pipelines a user would otherwise build for the
# same answer: the level raster of orvalis map at the spacing's cell size,
# then a zonal maximum per footprint, with GDAL and NumPy
# (bench/peer_zonal.py) and, where installed, with QGIS's
# native:zonalstatisticsfb. The commands run alternating, ROUNDS rounds
# (default 3); the best wall time is shown with the processor time (user +
# system) of that run, and assess's ratio to the best pipeline.
# Usage: bench/peer.sh [BUILD_DIR] [WORK_DIR]
# Environment: COUNTS (default "10000 100000"), SPACINGS (default "1 0.5 0.25").
set -eu
# Inside a timed run the script calls itself: "peer.sh --run WHAT DIR S".
if [ "${1:-}" = --run ]; then build=$ORV_PEER_BUILD work=$3; else
    build=${1:-build}
    work=${2:-$(mktemp -d)}
fi
rounds=${ROUNDS:-3}
counts=${COUNTS:-10000 100000}
spacings=${SPACINGS:-1 0.5 0.25}
here=$(cd "$(dirname "$0")" && pwd)
orvalis=$build/orvalis
qgis=/usr/bin/qgis_process.bin
site="-H 8 -B 20 --vol 60000 -S 6 -D 0.1"
world="--origin 2600000,1200000 --azimuth 120 --crs EPSG:2056"
# The jet-frame extent of the generated footprints, with their size as margin.
grid="--x -10:610 --y -310:310"

# Footprints of bench/assess_gen.py, n of them, as a GeoPackage layer.
footprints() { # N
    dir=$work/n$1
    if [ ! -f "$dir/fuss.gpkg" ]; then
        mkdir -p "$dir"
        python3 "$here/assess_gen.py" "$dir" "$1" 0 0
        ogr2ogr -f GPKG "$dir/fuss.gpkg" "$dir/footprints.csv" -oo KEEP_GEOM_COLUMNS=NO \
            -a_srs EPSG:2056 -nln gebaeude
    fi
}

# One run's "WALL CPU" of the pipeline WHAT (assess, gdal, qgis) in DIR at spacing S.
once() { # WHAT DIR S
    if ! /usr/bin/time -f "%e %U %S" -o "$work/time" sh "$0" --run "$@" >/dev/null 2>"$work/err"
    then
        cat "$work/err" >&2
        echo "peer.sh: $1 in $2 at spacing $3 failed" >&2
        kill -TERM $$
    fi
    awk '{print $1, $2 + $3}' "$work/time"
}

# The better of "WALL CPU" a and b by wall time.
best() { printf '%s\n%s\n' "$1" "${2:-1e9 0}" | sort -g | head -1; }

assess_run() { # DIR S
    "$orvalis" assess $site $world --spacing "$2" -o "$1/urteil.csv" "$1/fuss.gpkg"
}
gdal_run() { # DIR S
    "$orvalis" map $site $world $grid --cell "$2" --level-raster "$1/stufen.tif" &&
        /usr/bin/python3 "$here/peer_zonal.py" "$1/stufen.tif" "$1/fuss.gpkg" gebaeude "$1/zonal.csv"
}
qgis_run() { # DIR S
    rm -f "$1/qgis.gpkg"
    "$orvalis" map $site $world $grid --cell "$2" --level-raster "$1/stufen.tif" &&
        QT_QPA_PLATFORM=offscreen "$qgis" run native:zonalstatisticsfb -- \
            "INPUT=$1/fuss.gpkg|layername=gebaeude" "INPUT_RASTER=$1/stufen.tif" \
            RASTER_BAND=1 COLUMN_PREFIX=z_ STATISTICS=6 "OUTPUT=$1/qgis.gpkg"
}

if [ "${1:-}" = --run ]; then "$2_run" "$3" "$4"; exit; fi
export ORV_PEER_BUILD=$build

fmt() { echo "$1" | awk '{printf "%.2f / %.2f s", $1, $2}'; }

echo "| footprints, spacing | assess (wall / CPU) | map + GDAL/NumPy | map + QGIS | best pipeline / assess (wall) |"
echo "|---|---|---|---|---|"
for n in $counts; do
    footprints "$n"
    for s in $spacings; do
        dir=$work/n$n
        ta= tg= tq=
        for _ in $(seq "$rounds"); do
            ta=$(best "$(once assess "$dir" "$s")" "$ta")
            tg=$(best "$(once gdal "$dir" "$s")" "$tg")
            if [ -x "$qgis" ]; then tq=$(best "$(once qgis "$dir" "$s")" "$tq"); fi
        done
        peer=$(best "$tg" "$tq")
        ratio=$(printf '%s %s\n' "$peer" "$ta" | awk '{printf "%.1f", $1 / $3}')
        q="(nicht installiert)"
        [ -n "$tq" ] && q=$(fmt "$tq")
        echo "| $n, $s m | $(fmt "$ta") | $(fmt "$tg") | $q | $ratio |"
    done
done
