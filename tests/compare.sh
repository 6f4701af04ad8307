#!/bin/sh
# Runs one fixed set of commands with two builds of orvalis and compares all
# they write: standard output, standard error, exit status and every file
# (GeoPackages as ogrinfo dumps, their bytes holding timestamps; a PDF
# without its dates). For a
# change that must not alter any output: an empty diff is the proof.
#
#   tests/compare.sh OLD_ORVALIS NEW_ORVALIS [FOLDER]
#
# Leaves both runs in FOLDER (default: a temporary folder, removed unless
# the runs differ) and exits 1 when they differ.
set -eu
[ $# -ge 2 ] || { echo "Aufruf: $0 ALT NEU [ORDNER]" >&2; exit 2; }
old=$(realpath "$1")
new=$(realpath "$2")
top=${3:-$(mktemp -d "${TMPDIR:-/tmp}/orv-compare-XXXXXX")}
mkdir -p "$top"
export SOURCE_DATE_EPOCH=1780000000 OGR_CURRENT_DATE=2026-06-01T00:00:00Z LC_ALL=C.UTF-8

# The inputs, the same for both runs.
inputs() {
    d=$1
    mkdir -p "$d"
    { echo x,y; for i in $(seq 0 20 400); do echo "$i,$((i % 30))"; done; } >"$d/punkte.csv"
    { echo E,N; for i in $(seq 20); do echo "$((2600000 + i * 9)),$((1200000 + i % 5))"; done; } >"$d/welt.csv"
    {
        echo "id,E,N,H,B,Vol,S,D,azimuth"
        for i in $(seq 12); do echo "A$i,$((2600000 + i * 60)),1200000,$((2 + i % 6)),$((4 + i)),$((2000 * i)),$((1 + i % 7)),0.1,$((i * 29))"; done
        echo "A13,2600900,1200000,3,-4,2000,4,0.1,9"
    } >"$d/anlagen.csv"
    {
        echo "WKT,id,name"
        for i in $(seq 40); do
            e=$((2600000 + i * 23)) n=$((1200000 + (i % 9) * 15 - 60))
            case $((i % 3)) in
            0) echo "\"POINT ($e $n)\",$i,Punkt $i" ;;
            1) echo "\"LINESTRING ($e $n,$((e + 30)) $((n + 12)))\",$i,Weg $i" ;;
            2) echo "\"POLYGON (($e $n,$((e + 12)) $n,$((e + 12)) $((n + 9)),$e $n))\",$i,Haus $i" ;;
            esac
        done
    } >"$d/objekte.csv"
    printf 'id,WKT\n1,"POINT (2600050 1200001)"\n2,"POLYGON ((2600100 1199990,2600110 1199990,2600100 1199990)"\n' >"$d/kaputt.csv"
}

SITE='-H 8 -B 20 --vol 60000 -S 6 -D 0.1'
AT='--origin 2600000,1200000 --azimuth 90 --crs EPSG:2056'
# One command per line: the arguments after "orvalis".
COMMANDS="point
point --csv -H 3 -B 4 --vol 900 -S 2 -D 0.05 -x 50 -y 3
point -H abc
point -S 40 --correct
batch punkte.csv -o -
batch punkte.csv -o b.csv --digits 3
batch welt.csv $SITE --origin 2600000,1200000 --azimuth 45 -o -
profile $SITE --csv
profile $SITE -o p.png
map $SITE
map $SITE --json
map $SITE -o m.png
map $SITE -o m.svg
map $SITE -o m.pdf
map $SITE --raster r.tif --level-raster l.tif $AT
map $SITE -o k.png --zones z.geojson $AT --objects objekte.csv
assess objekte.csv $SITE $AT
assess objekte.csv $SITE $AT --json --label name
assess objekte.csv $SITE $AT -o a.gpkg
assess objekte.csv $SITE $AT -o a.csv
assess kaputt.csv $SITE $AT --keep-going -o k.gpkg
assess objekte.csv -H 8 -B 20 --vol 60000 -D 0.1 $AT
assess objekte.csv $SITE $AT --coords E,E
report objekte.csv $SITE $AT -o r.pdf --label name
report objekte.csv $SITE $AT -o r.html
inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 --id id -o - --keep-going
inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 --id id -o i.gpkg --objects-out o.gpkg --zones z.gpkg --keep-going
inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 --id id -o s.csv --shard 2/3 --keep-going
inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 --id id -o i.csv --reports berichte --keep-going
inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 -o i.csv
assess --help
inventory --help"

# Runs every command with binary $1 into folder $2.
run_all() {
    bin=$1 out=$2
    k=0
    echo "$COMMANDS" | while IFS= read -r line; do
        k=$((k + 1))
        w=$out/$(printf %02d $k)
        inputs "$w"
        echo "$line" >"$w/befehl"
        # shellcheck disable=SC2086
        (cd "$w" && "$bin" $line >stdout 2>stderr </dev/null; echo $? >status) || true
        # A map's PDF carries the time it was made.
        for f in $(find "$w" -name '*.pdf'); do
            perl -pi -e 's{/(CreationDate|ModDate) \(D:[^)]*\)}{/$1 ()}g' "$f"
        done
        for g in $(find "$w" -name '*.gpkg'); do
            ogrinfo -ro -al "$g" | grep -v '^INFO: Open of\|update_time' >"$g.txt"
            rm -f "$g"
        done
    done
}

run_all "$old" "$top/alt"
run_all "$new" "$top/neu"
if diff -r "$top/alt" "$top/neu"; then
    echo "gleich: $(echo "$COMMANDS" | wc -l) Befehle"
    [ $# -ge 3 ] || rm -rf "$top"
else
    echo "verschieden (beide Laeufe in $top)" >&2
    exit 1
fi
