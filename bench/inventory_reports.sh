#!/bin/sh
# orvalis inventory --reports over the first DAMS dams of the inventory
# benchmark's register, with 1.1*10^5 objects (10^5 building points, 10^4
# roads) and with 1.1*10^3 (10^3 and 10^2) over the same 50 x 50 km: wall
# time and peak memory of each and their ratio. With BEFORE set to another
# orvalis binary, the same runs with it alongside.
# Usage: bench/inventory_reports.sh [BUILD_DIR] [WORK_DIR] [DAMS] [FORMAT]
set -eu
build=${1:-build}
work=${2:-$(mktemp -d)}
dams=${3:-100}
format=${4:-pdf}
here=$(cd "$(dirname "$0")" && pwd)
orvalis=$(realpath "$build/orvalis")
cd "$work"

# objects DIR POINTS ROADS: the register and one GeoPackage of the objects.
objects() {
    mkdir -p "$1"
    python3 "$here/inventory_gen.py" "$1" 1000 "$2" "$3" 50
    rm -f "$1/objekte.gpkg"
    ogr2ogr -f GPKG "$1/objekte.gpkg" "$1/buildings.csv" -nln gebaeude -a_srs EPSG:2056
    ogr2ogr -f GPKG -append "$1/objekte.gpkg" "$1/roads.csv" -nln strassen -a_srs EPSG:2056
    head -n "$((dams + 1))" "$1/register.csv" >"$1/register_n.csv"
}
objects gross 100000 10000
objects klein 1000 100

# run BINARY DIR: wall seconds and peak resident kilobytes.
run() {
    rm -rf "$2/berichte"
    /usr/bin/time -f "%e %M" -o "$2/time" "$1" inventory "$2/register_n.csv" \
        --objects "$2/objekte.gpkg" --crs EPSG:2056 --id id --correct -o "$2/out.csv" \
        --reports "$2/berichte" --report-format "$format" 2>/dev/null
    cat "$2/time"
}
for bin in "$orvalis" ${BEFORE:+"$BEFORE"}; do
    set -- $(run "$bin" gross)
    tg=$1 mg=$2
    set -- $(run "$bin" klein)
    tk=$1 mk=$2
    echo "$bin: $dams dams with --reports ($format): 1.1e5 objects $tg s, peak $mg kB;" \
        "1.1e3 objects $tk s, peak $mk kB; time ratio $(echo "$tg $tk" | awk '{printf "%.1f", $1 / $2}')"
done
