#!/bin/sh
# orvalis inventory: 1000 dams over 50 x 50 km with 10^5 building points and
# 10^4 road segments: wall time and peak memory, the same on the first 100
# dams, and orvalis assess run once per dam on those 100 (per dam beside
# inventory's); then the optional outputs: --zones over all 1000 dams and
# --reports over the first 20. Usage: bench/inventory.sh [BUILD_DIR] [WORK_DIR]
set -eu
build=${1:-build}
work=${2:-$(mktemp -d)}
here=$(cd "$(dirname "$0")" && pwd)
orvalis=$(realpath "$build/orvalis")
cd "$work"

python3 "$here/inventory_gen.py" . 1000 100000 10000 50
rm -f objekte.gpkg
ogr2ogr -f GPKG objekte.gpkg buildings.csv -nln gebaeude -a_srs EPSG:2056
ogr2ogr -f GPKG -append objekte.gpkg roads.csv -nln strassen -a_srs EPSG:2056
head -n 101 register.csv >register100.csv
head -n 21 register.csv >register20.csv

# run NAME REGISTER [OPTIONS]: wall seconds and peak resident kilobytes of one run.
run() {
    name=$1 reg=$2
    shift 2
    /usr/bin/time -f "%e %M" -o "time_$name" "$orvalis" inventory "$reg" --objects objekte.gpkg \
        --crs EPSG:2056 --id id --correct -o "out_$name.csv" "$@" 2>/dev/null
    cat "time_$name"
}
set -- $(run 1000 register.csv)
t1000=$1 m1000=$2
set -- $(run 100 register100.csv)
t100=$1 m100=$2

# orvalis assess once per dam of the first 100, as a script would.
t0=$(date +%s.%N)
tail -n +2 register100.csv | while IFS=, read -r id e n h b vol s d az; do
    "$orvalis" assess objekte.gpkg -H "$h" -B "$b" --vol "$vol" -S "$s" -D "$d" \
        --origin "$e,$n" --azimuth "$az" --correct >/dev/null
done
t1=$(date +%s.%N)
ta=$(echo "$t0 $t1" | awk '{print $2 - $1}')

echo "inventory, 1000 dams: $t1000 s, peak $m1000 kB"
echo "inventory,  100 dams: $t100 s, peak $m100 kB (1000 vs 100: $(echo "$m1000 $m100" | awk '{printf "%+.1f", 100 * ($1 - $2) / $2}') %)"
echo "assess per dam, 100 dams: $ta s, $(echo "$ta" | awk '{printf "%.3f", $1 / 100}') s per dam"
echo "inventory per dam (1000 run): $(echo "$t1000" | awk '{printf "%.4f", $1 / 1000}') s; assess / inventory: $(echo "$ta $t1000" | awk '{printf "%.1f", ($1 / 100) / ($2 / 1000)}')"

rm -rf berichte zonen.gpkg
set -- $(run zones register.csv --zones zonen.gpkg)
echo "inventory, 1000 dams with --zones: $1 s, peak $2 kB"
set -- $(run reports register20.csv --reports berichte)
echo "inventory, 20 dams with --reports: $1 s, peak $2 kB"
