#!/bin/bash
# Runs every subcommand of the built orvalis command under every fault of
# the list below and checks what it leaves: the documented exit status or
# signal, a German message on standard error and none in an output, no
# temporary file or folder, the user's files unchanged when the run fails,
# a link still a link and a file's mode kept.
#
# Usage: faults.sh ORVALIS [NAME-FILTER]
set -u
ORV=$(readlink -f "$1")
ONLY=${2:-}

# One line per subcommand: name | extension of its file output | arguments
# writing that file ({OUT}) | arguments writing to standard output |
# arguments adding a second file output ({OUT2}) or -. A subcommand without
# a file output has - in both file columns.
COMMANDS='
point   | -   | -                             | point -x 50 -y 5      | -
batch   | csv | batch in.csv -o {OUT}         | batch in.csv          | -
map     | png | map --cell 10 -o {OUT}        | map --cell 10         | --raster {OUT2}.tif
raster  | tif | map --cell 10 --raster {OUT}  | map --cell 10         | -o {OUT2}.png
profile | csv | profile --csv -o {OUT}        | profile --csv         | -
assess  | geojson | assess objekte.csv -H 3 -B 5 --vol 2000 -S 4 -D 0.1 --origin 2600000,1200000 --azimuth 90 --crs EPSG:2056 -o {OUT} | assess objekte.csv -H 3 -B 5 --vol 2000 -S 4 -D 0.1 --origin 2600000,1200000 --azimuth 90 --crs EPSG:2056 | -
report  | -   | -                             | report in.csv -H 3 -B 5 --vol 2000 -S 4 -D 0.1 --coords x,y --origin 0,1000 --azimuth 0 --crs EPSG:3857 --format pdf -o - | -
worst   | geojson | assess objekte.csv -H 3 -B 5 --vol 2000 -S 4 -D 0.1 --origin 2600000,1200000 --azimuth 90 --crs EPSG:2056 --worst-points -o {OUT} | assess objekte.csv -H 3 -B 5 --vol 2000 -S 4 -D 0.1 --origin 2600000,1200000 --azimuth 90 --crs EPSG:2056 | -
inventory | csv | inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 -o {OUT} | inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 -o - | --objects-out {OUT2}.gpkg
zones   | geojson | inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 -o o.csv --reports berichte --zones {OUT} | inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 -o - --reports berichte | --objects-out {OUT2}.gpkg
'

# The signals that end a run; TERM is also sent at every stage.
SIGNALS='HUP INT QUIT PIPE ALRM TERM USR1 USR2 VTALRM PROF XCPU POLL PWR SYS'

ulimit -c 0
# Failures go to fd 3, so the shell's notes on the runs it saw killed can be
# silenced without them.
exec 3>&2
ROOT=$(mktemp -d "${TMPDIR:-/tmp}/orv-faults-XXXXXX")
trap 'rm -rf "$ROOT"' EXIT
passed=0
failed=0
# Enough rows for batch to reach the middle of its run.
{ echo x,y; for i in $(seq 5000); do echo "100,$((i % 50))"; done; } >"$ROOT/in.csv"
# A register of small dams and a few objects around them, for inventory.
{
    echo "E,N,H,B,Vol,S,D,azimuth"
    for i in $(seq 40); do echo "$((2600000 + i * 40)),1200000,3,5,2000,4,0.1,$((i * 9))"; done
} >"$ROOT/anlagen.csv"
{
    echo "WKT,id"
    for i in $(seq 50); do echo "\"POINT ($((2600000 + i * 37)) $((1200000 + i % 7 * 20)))\",$i"; done
} >"$ROOT/objekte.csv"

# The shell's name of a signal (it knows POLL as IO).
bash_name() {
    [ "$1" = POLL ] && echo IO || echo "$1"
}

# Fails the current case with a reason.
bad() {
    echo "FAIL $case: $*" >&3
    ok=0
}

# A fresh working directory with an input and a private TMPDIR.
fresh() {
    W=$ROOT/w$((passed + failed))
    mkdir -p "$W/tmp"
    cp "$ROOT/in.csv" "$ROOT/anlagen.csv" "$ROOT/objekte.csv" "$W/"
    export TMPDIR=$W/tmp
}

# The arguments of a table column with {OUT} and {OUT2} filled in.
args() {
    local a=${1//\{OUT\}/$2}
    echo "${a//\{OUT2\}/${3:-}}"
}

# No temporary file or folder of a run in the working directory or TMPDIR.
no_leftovers() {
    local left
    left=$(find "$W" -name '.orv-*' -o -path "$W/tmp/*" | head -3)
    [ -z "$left" ] || bad "left behind: $left"
}

# A German message: the command's name, and none of the library's English.
german_message() {
    grep -q '^orvalis' "$W/err" || bad "no message: $(cat "$W/err")"
    if grep -qiE 'error|failed|no such|denied|cannot' "$W/err"; then bad "English: $(cat "$W/err")"; fi
}

# The run ended with status want (a number, or SIGNAME for a signal).
status_is() {
    local want=$1 got=$2
    case $want in
    [A-Z]*) want=$((128 + $(kill -l "$(bash_name "$want")"))) ;;
    esac
    [ "$got" = "$want" ] || bad "status $got, expected $want; stderr: $(head -c 300 "$W/err")"
}

# An existing target with a known content and mode.
old_target() {
    printf 'alt\n' >"$1"
    chmod 640 "$1"
}

unchanged() {
    [ "$(cat "$1")" = alt ] || bad "$1 changed"
    [ "$(stat -c %a "$1")" = 640 ] || bad "$1 lost its mode"
}

finish_case() {
    if [ "$ok" = 1 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

# Runs orvalis with the arguments line held at stage and sends signal sig
# once it is there; with a fourth argument that signal is ignored at start
# and sent first. The exit status lands in st.
signal_case() {
    local line=$1 stage=$2 sig=$3 ignore=${4:-}
    rm -f "$W/mark"
    (
        cd "$W" || exit
        [ -n "$ignore" ] && trap '' "$ignore"
        ORV_TEST_HOLD="$stage:$W/mark" exec "$ORV" $line >"$W/out" 2>"$W/err"
    ) &
    local pid=$! i
    for i in $(seq 1000); do
        [ -e "$W/mark" ] || ! kill -0 $pid 2>/dev/null && break
        sleep 0.02
    done
    [ -e "$W/mark" ] || bad "stage $stage not reached"
    [ -n "$ignore" ] && kill -s "$ignore" $pid && sleep 0.1
    kill -s "$(bash_name "$sig")" $pid
    # A run that outlives the signal is a failure, not a hang of the suite.
    for i in $(seq 500); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.02
    done
    kill -0 $pid 2>/dev/null && bad "still running after $sig" && kill -KILL $pid
    { wait $pid; } 2>/dev/null
    st=$?
}

while IFS='|' read -r name ext file_args out_args second; do
    name=$(echo $name)
    [ -n "$name" ] || continue
    [ -z "$ONLY" ] || [ "$name" = "$ONLY" ] || continue
    ext=$(echo $ext)
    file_args=$(echo $file_args)
    out_args=$(echo $out_args)
    second=$(echo $second)
    has_file=0
    [ "$file_args" != - ] && has_file=1

    # What a good run writes, to compare with.
    fresh
    REF=$W
    if [ $has_file = 1 ]; then
        (cd "$REF" && "$ORV" $(args "$file_args" ref.$ext) >/dev/null 2>&1) || echo "FAIL $name: reference run" >&2
    fi
    (cd "$REF" && "$ORV" $out_args >ref.out 2>/dev/null) || echo "FAIL $name: reference run" >&2

    # Standard descriptors closed at start.
    case="$name: fd 0 closed"; ok=1; fresh
    (cd "$W" && exec "$ORV" $out_args >out 2>err <&-); status_is 0 $?
    cmp -s "$W/out" "$REF/ref.out" || bad "output differs"
    finish_case
    case="$name: fd 1 closed"; ok=1; fresh
    (cd "$W" && exec "$ORV" $out_args 2>err >&-); status_is 1 $?
    grep -q 'Standardausgabe geschlossen' "$W/err" || bad "message: $(cat "$W/err")"
    no_leftovers; finish_case
    case="$name: fd 2 closed"; ok=1; fresh
    if [ $has_file = 1 ]; then
        (cd "$W" && exec "$ORV" $(args "$file_args" out.$ext) >/dev/null 2>&-); status_is 0 $?
        cmp -s "$W/out.$ext" "$REF/ref.$ext" || bad "file differs"
    else
        (cd "$W" && exec "$ORV" $out_args >out 2>&-); status_is 0 $?
        cmp -s "$W/out" "$REF/ref.out" || bad "output differs"
    fi
    no_leftovers; finish_case

    # Signals while the run is under way: TERM at every stage, the others
    # in the middle, and a signal ignored at start stays ignored.
    line=$out_args
    runs="early:TERM middle:TERM late:TERM"
    for s in $SIGNALS; do [ $s = TERM ] || runs="$runs middle:$s"; done
    runs="$runs late:TERM:HUP"
    for r in $runs; do
        IFS=: read -r stage sig ignore <<<"$r"
        case="$name: $sig at $stage${ignore:+ with $ignore ignored}"; ok=1; fresh
        if [ $has_file = 1 ]; then
            old_target "$W/t.$ext"
            line=$(args "$file_args" t.$ext)
        fi
        signal_case "$line" "$stage" "$sig" "$ignore" 2>/dev/null
        status_is "$sig" "$st"
        [ $has_file = 1 ] && unchanged "$W/t.$ext"
        no_leftovers; finish_case
    done

    # A file size limit and a full device.
    # Messages go through a pipe, which the limit does not touch.
    case="$name: ulimit -f"; ok=1; fresh
    if [ $has_file = 1 ]; then
        old_target "$W/t.$ext"
        (cd "$W" && ulimit -f 1 && exec "$ORV" $(args "$file_args" t.$ext) 2>&1 >/dev/null) |
            cat >"$W/err"
        status_is 1 "${PIPESTATUS[0]}"
        unchanged "$W/t.$ext"
    else
        (cd "$W" && ulimit -f 0 && exec "$ORV" $out_args 2>&1 >out) | cat >"$W/err"
        status_is 1 "${PIPESTATUS[0]}"
    fi
    grep -q 'Datei zu gross' "$W/err" || bad "message: $(cat "$W/err")"
    german_message; no_leftovers; finish_case
    for where in stdout file; do
        [ $where = stdout ] || [ $has_file = 1 ] || continue
        case="$name: /dev/full as $where"; ok=1; fresh
        if [ $where = file ]; then
            # Through a link, as pictures and rasters go by the extension.
            ln -s /dev/full "$W/voll.$ext"
            (cd "$W" && exec "$ORV" $(args "$file_args" voll.$ext) >/dev/null 2>err)
        else
            (cd "$W" && exec "$ORV" $out_args >/dev/full 2>err)
        fi
        status_is 1 $?
        grep -q 'kein Platz mehr auf dem Datentraeger' "$W/err" || bad "message: $(cat "$W/err")"
        german_message; no_leftovers; finish_case
    done

    [ $has_file = 1 ] || continue
    # Targets that are not plain new files.
    case="$name: target a link"; ok=1; fresh
    old_target "$W/ziel.$ext"
    ln -s "ziel.$ext" "$W/link.$ext"
    (cd "$W" && exec "$ORV" $(args "$file_args" link.$ext) >/dev/null 2>err); status_is 0 $?
    [ -L "$W/link.$ext" ] || bad "link replaced"
    cmp -s "$W/ziel.$ext" "$REF/ref.$ext" || bad "link target not written"
    [ "$(stat -c %a "$W/ziel.$ext")" = 640 ] || bad "mode lost"
    no_leftovers; finish_case
    case="$name: target a FIFO"; ok=1; fresh
    mkfifo "$W/rohr.$ext"
    cat "$W/rohr.$ext" >"$W/got" &
    reader=$!
    (cd "$W" && exec "$ORV" $(args "$file_args" rohr.$ext) >/dev/null 2>err); status_is 0 $?
    wait $reader
    cmp -s "$W/got" "$REF/ref.$ext" || bad "FIFO got other bytes"
    [ -p "$W/rohr.$ext" ] || bad "FIFO replaced"
    no_leftovers; finish_case
    case="$name: target a directory"; ok=1; fresh
    mkdir "$W/ordner.$ext"
    (cd "$W" && exec "$ORV" $(args "$file_args" ordner.$ext) >"$W/out" 2>err); status_is 1 $?
    grep -q 'ist ein Verzeichnis' "$W/err" || bad "message: $(cat "$W/err")"
    german_message; no_leftovers; finish_case

    # A second output that cannot be written: the first stays as it was.
    [ "$second" != - ] || continue
    case="$name: second output unwritable"; ok=1; fresh
    old_target "$W/t.$ext"
    (cd "$W" && exec "$ORV" $(args "$file_args $second" t.$ext fehlt/zwei) >"$W/out" 2>err)
    status_is 1 $?
    unchanged "$W/t.$ext"
    [ -s "$W/out" ] && bad "output written: $(head -c 100 "$W/out")"
    german_message; no_leftovers; finish_case
done <<<"$COMMANDS"

# Ways in which a verdict could turn quietly to "nicht gefaehrdet", and
# faults of the objects themselves, one line per class: name | exit status
# | text on standard error (or -) | text on standard output (or -) |
# FILE~REGEX one of its lines must match (or -) | arguments. Each run is
# limited to 10 s; a failing one writes no output (o.*) and leaves every
# input file as it was.
PARAMS='-H 8 -B 20 --vol 60000 -S 6 -D 0.1'
BREACH='--origin 2600000,1200000 --azimuth 90 --crs EPSG:2056'
LV03='--origin 600000,200000 --azimuth 90 --crs EPSG:2056'
SITE="$PARAMS $BREACH"
REG='--objects objekte.csv --crs EPSG:2056'
OBJECT_FAULTS="
missing parameter | 1 | S fehlt: Option -S | - | - | assess objekte.csv -H 8 -B 20 --vol 60000 -D 0.1 $BREACH -o o.gpkg
missing in report | 1 | D fehlt: Option -D | - | - | report objekte.csv -H 8 -B 20 --vol 60000 -S 6 $BREACH -o o.pdf
wrong crs         | 1 | Bresche (--origin): Punkt 600000, 200000 liegt ausserhalb | - | - | assess objekte.csv $PARAMS $LV03 -o o.gpkg
wrong crs in map  | 1 | Option --origin: Punkt 600000, 200000 liegt ausserhalb | - | - | map $PARAMS $LV03 -o o.png
wrong crs in inventory | 1 | Zeile 2, Anlage 1: Bresche (E, N): Punkt 600000, 200000 | - | - | inventory alt.csv --objects objekte.csv --crs EPSG:2056 -o o.csv
out of reach      | 0 | - | Warnung: Kein Objekt im Bereich der Tabellen: naechstes Objekt | - | assess objekte.csv $PARAMS --origin 2600000,1000000 --azimuth 90 --crs EPSG:2056
out of reach without crs | 0 | - | Urteil: offen (Lage der Bresche nicht pruefbar: kein Koordinatensystem | - | assess objekte.csv $PARAMS --origin 2600000,1000000 --azimuth 90
inventory without crs | 0 | - | - | o.csv~^600000,200000,.*,open,, | inventory alt.csv --objects objekte.csv -o o.csv
bad geometry      | 1 | Objekt 2: Geometrie nicht lesbar | - | - | assess kaputt.csv $SITE -o o.gpkg
bad geometry kept | 3 | (uebersprungen) | Urteil: gefaehrdet | - | assess kaputt.csv $SITE --keep-going
breach object     | 0 | - | Urteil: offen | - | assess bresche.csv $SITE
huge coordinates  | 1 | Ausdehnung liegt ausserhalb | - | - | assess riesig.csv $SITE
tiny spacing      | 1 | Koordinate zu gross | - | - | assess winzig.csv $SITE --spacing 1e-11
huge inventory    | 1 | Ausdehnung liegt ausserhalb | - | - | inventory anlagen.csv --objects riesig.csv --crs EPSG:2056 -o o.csv
sidecar output    | 2 | nennt die Quelle gshp.shp | - | - | assess gshp.shp $SITE -o gshp.dbf
sidecar objects   | 2 | nennt die Quelle gshp.shp | - | - | inventory anlagen.csv --objects gshp.shp --crs EPSG:2056 -o o.csv --objects-out gshp.dbf
CSV geometry      | 0 | - | - | o.csv~^WKT,id, | assess objekte.csv $SITE -o o.csv
short row         | 3 | Spalte 4 (B) fehlt (Zeile hat 3 Felder, erwartet 8) | - | o.csv~^2600040,1200000,3,,,,,,1, | inventory laenge.csv $REG -o o.csv --keep-going
long row          | 3 | 2 Felder zu viel (Zeile hat 10 Felder, erwartet 8): 7,8 | - | o.csv~^2600080,1200000,3,5,2000,4,0.1,9,2, | inventory laenge.csv $REG -o o.csv --keep-going
error row point   | 3 | Wert muss groesser als 0 sein | - | o.geojson~orv_error.*Wert muss.*coordinates.: \[ 2600120 | inventory laenge.csv $REG -o o.geojson --keep-going
own output        | 0 | - | - | o.csv~^E,N,H,B,Vol,S,D,azimuth,orv_row,(orv_[a-z0-9]+,){16}orv_error,orv_names$ | inventory eigen.csv $REG -o o.csv
own output gpkg   | 0 | - | - | - | inventory eigen.csv $REG -o o.gpkg
byte-order mark   | 0 | - | - | o.csv~^2600040,1200000,3,5,2000,4,0.1,9,1, | inventory bom.csv $REG -o o.csv
UTF-16 register   | 1 | utf16.csv: in UTF-16 kodiert | - | - | inventory utf16.csv $REG -o o.csv
styled shapefile  | 0 | - | - | o.qml~orv_level&quot; = 3 | assess objekte.csv $SITE -o o.shp
stray style       | 1 | stil.qml besteht schon und gehoert nicht dazu | - | - | assess objekte.csv $SITE -o stil.shp
unknown format    | 2 | Option -o: kein Vektorformat zum Schreiben fuer die Endung .qqq | - | - | assess objekte.csv $SITE -o o.qqq
unknown zones     | 2 | kein Vektorformat zum Schreiben fuer die Endung .qqq | - | - | inventory anlagen.csv $REG -o o.csv --zones o.qqq
points report     | 0 | - | - | - | report punkte.csv $SITE --coords E,N -o o.pdf
points assess     | 0 | - | Urteil: gefaehrdet | - | assess punkte.csv $SITE --coords E,N -o o.gpkg
crs file          | 0 | - | Urteil: gefaehrdet | - | assess punkte.csv $PARAMS --coords E,N --origin 2600000,1200000 --azimuth 90 --crs lv95.wkt -o o.gpkg
crs file misplaced | 1 | Punkt 600000, 200000 liegt ausserhalb des Gebiets von EPSG:2056 | - | - | assess punkte.csv $PARAMS --coords E,N --origin 600000,200000 --azimuth 90 --crs lv95.wkt -o o.gpkg
level raster      | 0 | - | - | o.qml~rasterrenderer type=.paletted. band=.1. | map $PARAMS --cell 10 --level-raster o.tif
level one band    | 2 | kann die zwei Byte-Baender Stufe und Grund nicht speichern | - | - | map $PARAMS --cell 10 --level-raster o.asc
level alpha band  | 2 | gibt die Baender Stufe und Grund nicht unveraendert zurueck | - | - | map $PARAMS --cell 10 --level-raster o.png
level style twice | 2 | beide legen ihren Stil in o.qml | - | - | map $PARAMS --cell 10 --level-raster o.tif --zones o.shp
crs PROJ in map   | 0 | - | - | - | map $PARAMS --origin 2600000,1200000 --azimuth 90 --crs lv95.proj -o o.png --zones o.gpkg
crs in inventory  | 0 | - | - | o.csv~^2600040,1200000,3,5,2000,4,0.1,9,1, | inventory bom.csv --objects objekte.csv --crs lv95.wkt -o o.csv
crs without area  | 1 | hat keinen Anwendungsbereich, die Lage der Bresche ist so nicht pruefbar | - | - | assess punkte.csv $PARAMS --coords E,N --origin 2600000,1200000 --azimuth 90 --crs lokal.proj -o o.gpkg
crs without area in inventory | 1 | hat keinen Anwendungsbereich | - | - | inventory bom.csv --objects objekte.csv --crs lokal.proj -o o.csv
crs area given    | 0 | - | Urteil: gefaehrdet | - | assess punkte.csv $PARAMS --coords E,N --origin 2600000,1200000 --azimuth 90 --crs lokal.wkt -o o.gpkg
objects without geometry column | 1 | keine Ebene mit Geometrie in den Quellen (CSV: eine Spalte WKT) | - | - | inventory anlagen.csv --objects punkte.csv --crs EPSG:2056 -o o.csv
crs not a system  | 1 | Option --crs: Datei punkte.csv haelt kein lesbares Koordinatensystem | - | - | assess punkte.csv $PARAMS --coords E,N --origin 2600000,1200000 --azimuth 90 --crs punkte.csv
worst points alone | 2 | --worst-points braucht -o | - | - | assess objekte.csv $SITE --worst-points
worst points inventory | 2 | --worst-points braucht --objects-out | - | - | inventory anlagen.csv $REG -o o.csv --worst-points
worst points shapefile | 0 | - | - | o_schlimmste_punkte.dbf~orv_level | assess objekte.csv $SITE -o o.shp --worst-points
open object       | 0 | - | - | o.csv~^.POINT \(2600040.1 1200000.5\).,.1.,,,,,,.1.,none,.1.,.Anlage 1: nahe der Bresche | inventory anlagen.csv --objects unten.csv --crs EPSG:2056 -o o1.csv --objects-out o.csv
label nowhere     | 1 | Option --label: Feld in keiner Ebene: nosuchfield | - | - | inventory anlagen.csv $REG -o o.csv --label nosuchfield
background missing | 1 | --background fehlt.tif: | - | - | inventory anlagen.csv $REG -o o.csv --reports berichte --background fehlt.tif
look needs reports | 2 | --title, --author, --background und --opacity brauchen --reports | - | - | inventory anlagen.csv $REG -o o.csv --title Weiher
names by label    | 0 | - | - | o.csv~^2600040,1200000,3,5,2000,4,0.1,9,1,.*,yes,,[0-9]+(; [0-9]+)* | inventory anlagen.csv $REG -o o.csv --label id
typed register    | 0 | - | - | - | inventory anlagen.csv $REG -o o.gpkg --label id --objects-out o2.gpkg
origin as printed | 0 | - | Urteil: gefaehrdet | - | assess teile.csv $PARAMS --origin 2'600'000,1'200'000 --azimuth 90 --crs EPSG:2056 -o o.gpkg
extent as printed | 0 | - | - | - | report teile.csv $SITE --extent 2'599'900,1'199'900,2'600'200,1'200'100 -o o.pdf
origin misgrouped | 1 | Option --origin: zwei Zahlen E,N erwartet, Apostroph nur zwischen Gruppen von drei Ziffern erlaubt | - | - | assess objekte.csv $PARAMS --origin 26'00'000,1200000 --azimuth 90 --crs EPSG:2056 -o o.gpkg
decimal comma     | 1 | Option -B: Dezimalpunkt verwenden: 20.5 statt 20,5 | - | - | assess objekte.csv -H 8 -B 20,5 --vol 60000 -S 6 -D 0.1 $BREACH -o o.gpkg
decimal comma inventory | 1 | Option --spacing: Dezimalpunkt verwenden: 0.5 statt 0,5 | - | - | inventory anlagen.csv $REG -o o.csv --spacing 0,5
parts far apart   | 0 | - | Urteil: gefaehrdet | - | assess teile.csv $SITE -o o.gpkg
source missing    | 1 | fehlt.csv: nicht lesbar: Datei oder Verzeichnis nicht vorhanden | - | - | assess fehlt.csv $SITE -o o.gpkg
zones in gpx      | 2 | das Format GPX (Endung .gpx) kann keine Polygone speichern | - | - | map $PARAMS --zones o.gpx
layer in gpx      | 1 | Ebene teile nicht anlegbar: das Format GPX kann keine Ebene ohne festen Geometrietyp speichern | - | - | assess teile.csv $SITE -o o.gpx
output folder missing | 1 | -o ordner/o.gpkg: nicht schreibbar: Verzeichnis ordner nicht vorhanden | - | - | assess objekte.csv $SITE -o ordner/o.gpkg
"
{
    echo 'id,WKT'
    echo '1,"POLYGON ((2600050 1199990,2600060 1199990,2600060 1200000,2600050 1199990))"'
    echo '2,"POLYGON ((2600100 1199990,2600110 1199990,2600110 1200000,2600100 1199990)"'
} >"$ROOT/kaputt.csv"
printf 'id,WKT\n1,"POINT (2600000 1200000)"\n' >"$ROOT/bresche.csv"
printf 'id,WKT\n1,"POLYGON ((2600050 1199990,2600050.000001 1199990,2600050.000001 1199990.000001,2600050 1199990))"\n' >"$ROOT/winzig.csv"
printf 'id,WKT\n1,"POLYGON ((1e17 1e17,1.00000000000000016e17 1e17,1e17 1.00000000000000016e17,1e17 1e17))"\n' >"$ROOT/riesig.csv"
printf 'E,N,H,B,Vol,S,D,azimuth\n600000,200000,3,5,2000,4,0.1,90\n' >"$ROOT/alt.csv"
printf 'E,N,H,B,Vol,S,D,azimuth\n2600040,1200000,3\n2600080,1200000,3,5,2000,4,0.1,9,7,8\n2600120,1200000,3,-4,2000,4,0.1,9\n' >"$ROOT/laenge.csv"
{ printf '\357\273\277'; head -n 3 "$ROOT/anlagen.csv"; } >"$ROOT/bom.csv"
head -n 3 "$ROOT/anlagen.csv" | iconv -f UTF-8 -t UTF-16 >"$ROOT/utf16.csv"
printf 'WKT,id\n"POINT (2600040.1 1200000.5)",1\n' >"$ROOT/unten.csv"
printf 'id,E,N\n1,2600050,1199995\n' >"$ROOT/punkte.csv"
printf 'id,WKT\n1,"MULTIPOLYGON (((2600050 1199990,2600060 1199990,2600060 1200000,2600050 1199990)),((2800000 1280000,2800010 1280000,2800010 1280010,2800000 1280000)))"\n' >"$ROOT/teile.csv"
printf '<qgis/>\n' >"$ROOT/stil.qml"
gdalsrsinfo -o wkt1 EPSG:2056 >"$ROOT/lv95.wkt"
printf '+proj=tmerc +lat_0=46.5 +lon_0=8 +k=1 +x_0=2600000 +y_0=1200000 +ellps=WGS84 +units=m\n' >"$ROOT/lokal.proj"
printf '%s' 'PROJCRS["Lokales Netz",BASEGEOGCRS["WGS 84",DATUM["World Geodetic System 1984",ELLIPSOID["WGS 84",6378137,298.257223563]]],CONVERSION["Querachsig",METHOD["Transverse Mercator",ID["EPSG",9807]],PARAMETER["Latitude of natural origin",46.5,ANGLEUNIT["degree",0.0174532925199433]],PARAMETER["Longitude of natural origin",8,ANGLEUNIT["degree",0.0174532925199433]],PARAMETER["Scale factor at natural origin",1,SCALEUNIT["unity",1]],PARAMETER["False easting",2600000,LENGTHUNIT["metre",1]],PARAMETER["False northing",1200000,LENGTHUNIT["metre",1]]],CS[Cartesian,2],AXIS["easting",east,ORDER[1],LENGTHUNIT["metre",1]],AXIS["northing",north,ORDER[2],LENGTHUNIT["metre",1]],USAGE[SCOPE["Bau"],BBOX[45.8,5.9,47.9,10.5]]]' >"$ROOT/lokal.wkt"
printf '+proj=somerc +lat_0=46.9524055555556 +lon_0=7.43958333333333 +k_0=1 +x_0=2600000 +y_0=1200000 +ellps=bessel +units=m +no_defs\n' >"$ROOT/lv95.proj"
(cd "$ROOT" && "$ORV" inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 -o eigen.csv 2>/dev/null)
(cd "$ROOT" && "$ORV" assess kaputt.csv $SITE -o gshp.shp --keep-going >/dev/null 2>&1)
while IFS='|' read -r name want err out first line; do
    name=$(echo $name)
    [ -n "$name" ] || continue
    [ -z "$ONLY" ] || [ "$name" = "$ONLY" ] || [ "$ONLY" = objects ] || continue
    case="objects: $name"; ok=1; fresh
    inputs="kaputt.csv bresche.csv riesig.csv winzig.csv alt.csv laenge.csv bom.csv utf16.csv unten.csv eigen.csv punkte.csv teile.csv stil.qml lv95.wkt lv95.proj lokal.proj lokal.wkt"
    for f in $inputs; do cp "$ROOT/$f" "$W/"; done
    cp "$ROOT"/gshp.* "$W/"
    sums=$(cd "$W" && md5sum -- $inputs anlagen.csv objekte.csv gshp.*)
    (cd "$W" && exec timeout 10 "$ORV" $line >out 2>err)
    st=$?
    want=$(echo $want) err=$(echo $err) out=$(echo $out) first=$(echo $first)
    status_is "$want" $st
    [ "$err" = - ] || grep -qF -- "$err" "$W/err" || bad "stderr: $(head -c 300 "$W/err")"
    [ "$out" = - ] || grep -qF -- "$out" "$W/out" || bad "stdout lacks $out"
    if [ "$first" != - ]; then
        grep -qE -- "${first#*~}" "$W/${first%%~*}" || bad "${first%%~*}: $(head -c 300 "$W/${first%%~*}")"
    fi
    grep -qE '^(ERROR|Warning) [0-9]+:' "$W/err" && bad "GDAL's message raw: $(head -c 300 "$W/err")"
    [ "$want" != 1 ] || [ -z "$(find "$W" -maxdepth 1 -name 'o.*')" ] || bad "output written"
    [ "$want" = 0 ] || [ "$sums" = "$(cd "$W" && md5sum -- $inputs anlagen.csv objekte.csv gshp.*)" ] || bad "an input changed"
    [ "$want" = 0 ] || german_message
    no_leftovers; finish_case
done <<<"$OBJECT_FAULTS"

# Values from the environment that a run refuses before it writes: name |
# exit status | text on standard error | VARIABLE=value | arguments.
ENV_FAULTS="
epoch beyond 9999 | 2 | SOURCE_DATE_EPOCH: ganze Sekunden von 0 bis 253402300799 erwartet | SOURCE_DATE_EPOCH=1000000000000000 | report objekte.csv $SITE -o o.pdf
epoch negative    | 2 | SOURCE_DATE_EPOCH: ganze Sekunden von 0 bis 253402300799 erwartet | SOURCE_DATE_EPOCH=-1 | report objekte.csv $SITE --format html -o o.html
epoch junk        | 2 | SOURCE_DATE_EPOCH: ganze Sekunden von 0 bis 253402300799 erwartet | SOURCE_DATE_EPOCH=1700000000x | inventory anlagen.csv $REG -o o.csv --reports o.berichte
"
while IFS='|' read -r name want err var line; do
    name=$(echo $name)
    [ -n "$name" ] || continue
    [ -z "$ONLY" ] || [ "$name" = "$ONLY" ] || [ "$ONLY" = environment ] || continue
    case="environment: $name"; ok=1; fresh
    (cd "$W" && exec env $var timeout 10 "$ORV" $line >out 2>err)
    st=$?
    want=$(echo $want) err=$(echo $err)
    status_is "$want" $st
    grep -qF -- "$err" "$W/err" || bad "stderr: $(head -c 300 "$W/err")"
    [ -z "$(find "$W" -maxdepth 1 -name 'o.*')" ] || bad "output written"
    german_message; no_leftovers; finish_case
done <<<"$ENV_FAULTS"

# The worst points' file beside the output cannot be written: the output
# stays as it was, nothing is left.
if [ -z "$ONLY" ] || [ "$ONLY" = objects ]; then
    for cmd in "assess objekte.csv $SITE -o o.geojson" "inventory anlagen.csv $REG -o i.csv --objects-out o.geojson"; do
        case="objects: worst points unwritable (${cmd%% *})"; ok=1; fresh
        old_target "$W/o.geojson"
        mkdir "$W/o_schlimmste_punkte.geojson"
        (cd "$W" && exec timeout 10 "$ORV" $cmd --worst-points >"$W/out" 2>"$W/err")
        status_is 1 $?
        grep -qF 'o_schlimmste_punkte.geojson: nicht schreibbar: ist ein Verzeichnis' "$W/err" || bad "stderr: $(head -c 300 "$W/err")"
        unchanged "$W/o.geojson"
        [ -e "$W/i.csv" ] && bad "i.csv written"
        german_message; no_leftovers; finish_case
    done
fi

# Memory that runs out: a worker's task failing (the test hook; name |
# tasks to fail, counted from 0 | arguments) ends every command with
# "nicht genug Speicher", status 1, nothing written or left.
NOMEM_CASES="
assess    | 0 1 | assess objekte.csv $SITE -o out.gpkg
report    | 0 | report objekte.csv $SITE -o out.pdf
map       | 0 | map -H 3 -B 5 --vol 2000 -S 4 -D 0.1 -o out.png
batch     | 0 | batch in.csv -o out.csv
inventory | 0 1 | inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 -o out.csv --zones out.gpkg --reports out --threads 2
"
while IFS='|' read -r name tasks line; do
    name=$(echo $name)
    [ -n "$name" ] || continue
    [ -z "$ONLY" ] || [ "$ONLY" = memory ] || continue
    for n in $tasks; do
        case="no memory: $name, task $n"; ok=1; fresh
        (cd "$W" && ORV_TEST_NO_MEMORY=$n exec "$ORV" $line >"$W/stdout" 2>"$W/err")
        status_is 1 $?
        grep -qx "orvalis $name: nicht genug Speicher" "$W/err" || bad "stderr: $(head -c 300 "$W/err")"
        [ -z "$(find "$W" -maxdepth 1 -name 'out*')" ] || bad "output written"
        no_leftovers; finish_case
    done
done <<<"$NOMEM_CASES"

# The same under real limits of the address space, from where the program
# cannot even load to where it completes: every run either completes with
# all its outputs or ends with a German message and leaves nothing; never
# an abort. The sanitizers cannot run under such a limit.
if grep -qa __asan_init "$ORV"; then
    echo "skipped: address-space limits (sanitizer build)"
elif [ -z "$ONLY" ] || [ "$ONLY" = memory ]; then
    line="inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 -o out.csv --zones out.gpkg --threads 2"
    for v in $(seq 150000 8000 262000); do
        case="address space ${v} KiB"; ok=1; fresh
        (cd "$W" && ulimit -v $v && exec "$ORV" $line >"$W/stdout" 2>"$W/err")
        st=$?
        case $st in
        0) [ -s "$W/out.csv" ] && [ -s "$W/out.gpkg" ] || bad "completed without all outputs" ;;
        1) german_message; [ -z "$(find "$W" -maxdepth 1 -name 'out*')" ] || bad "output written" ;;
        127) grep -q 'error while loading shared libraries' "$W/err" || bad "status 127: $(head -c 200 "$W/err")" ;;
        *) bad "status $st: $(head -c 300 "$W/err")" ;;
        esac
        no_leftovers; finish_case
    done
fi

# Folder outputs are all or nothing: two shards writing their reports into
# one new folder each place their own; a folder holding a directory where a
# report goes refuses before anything is placed, the -o file kept.
if [ -z "$ONLY" ] || [ "$ONLY" = folders ]; then
    inv="inventory anlagen.csv --objects objekte.csv --crs EPSG:2056"
    case="folders: two writers into one new folder"; ok=1; fresh
    (cd "$W" && exec "$ORV" $inv --shard 1/2 -o eins.csv --reports berichte >/dev/null 2>err1) &
    (cd "$W" && exec "$ORV" $inv --shard 2/2 -o zwei.csv --reports berichte >/dev/null 2>err2)
    st2=$?
    wait $!
    st1=$?
    [ "$st1$st2" = 00 ] || bad "status $st1 and $st2: $(cat "$W/err1" "$W/err2" | head -c 300)"
    [ "$(ls "$W/berichte" | wc -l)" = 40 ] || bad "reports: $(ls "$W/berichte" | wc -l) of 40"
    [ -s "$W/eins.csv" ] && [ -s "$W/zwei.csv" ] || bad "an -o file missing"
    no_leftovers; finish_case

    case="folders: a directory where a report goes"; ok=1; fresh
    mkdir -p "$W/berichte/2.pdf"
    echo alt >"$W/o.csv"
    (cd "$W" && exec "$ORV" $inv -o o.csv --reports berichte >/dev/null 2>"$W/err")
    status_is 1 $?
    grep -qF 'berichte/2.pdf ist ein Verzeichnis' "$W/err" || bad "stderr: $(head -c 300 "$W/err")"
    [ "$(cat "$W/o.csv")" = alt ] || bad "-o replaced"
    [ "$(ls "$W/berichte")" = 2.pdf ] || bad "reports placed: $(ls "$W/berichte" | head -3)"
    german_message; no_leftovers; finish_case
fi
# A user at its process limit: each command that starts workers, run as an
# unprivileged user allowed two threads more than it runs already (the main
# one and the signal guard), writes the same bytes and says the same as an
# unlimited run, and leaves nothing. ulimit -u binds no root: the runs need
# root for setpriv, and prlimit. One line each: name | arguments.
LIMIT_CASES="
assess    | assess objekte.csv -H 3 -B 5 --vol 2000 -S 4 -D 0.1 --origin 2600000,1200000 --azimuth 90 --crs EPSG:2056 --threads 4 -o o.geojson
inventory | inventory anlagen.csv --objects objekte.csv --crs EPSG:2056 --threads 4 -o o.csv --zones z.geojson
report    | report objekte.csv -H 3 -B 5 --vol 2000 -S 4 -D 0.1 --origin 2600000,1200000 --azimuth 90 --crs EPSG:2056 --threads 4 --format html -o o.html
map       | map --cell 1 --threads 4 --raster o.tif
batch     | batch in.csv -o o.csv
"
NOBODY='setpriv --reuid=65534 --regid=65534 --clear-groups'
limit_skip=
if grep -qa __asan_init "$ORV"; then
    limit_skip="sanitizer build (its leak check needs a thread of its own)"
elif [ "$(id -u)" != 0 ]; then
    limit_skip="not root (setpriv cannot change the user)"
elif ! command -v setpriv >/dev/null || ! command -v prlimit >/dev/null; then
    limit_skip="setpriv or prlimit missing"
elif ! $NOBODY "$ORV" --version >/dev/null 2>&1; then
    limit_skip="$ORV not runnable as user 65534"
fi
while IFS='|' read -r name line; do
    name=$(echo $name)
    [ -n "$name" ] || continue
    [ -z "$ONLY" ] || [[ "thread limit: $name" == *"$ONLY"* ]] || continue
    if [ -n "$limit_skip" ]; then
        echo "SKIP thread limit: $name: $limit_skip"
        continue
    fi
    case="thread limit: $name"; ok=1; fresh
    chmod 755 "$ROOT"
    mkdir "$W/frei" "$W/knapp"
    cp "$W"/*.csv "$W/frei/"
    cp "$W"/*.csv "$W/knapp/"
    chmod -R a+rwX "$W"
    (cd "$W/frei" && exec "$ORV" $line >out 2>err)
    st=$?
    # Threads the user runs already count against its limit.
    most=$(($(ps -L -u 65534 --no-headers 2>/dev/null | wc -l) + 2))
    (cd "$W/knapp" && exec prlimit --nproc=$most $NOBODY "$ORV" $line >out 2>err)
    cp "$W/knapp/err" "$W/err"
    status_is "$st" $?
    grep -q terminate "$W/err" && bad "aborted: $(head -c 300 "$W/err")"
    diff -r "$W/frei" "$W/knapp" >/dev/null || bad "other results: $(diff -rq "$W/frei" "$W/knapp" | head -3)"
    no_leftovers; finish_case
done <<<"$LIMIT_CASES"

echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
