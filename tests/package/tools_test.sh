#!/usr/bin/env bash
# One tool run from the packages unpacked by debs_test.sh in DEBS/root/:
#   calculator  the launcher with seven blank answers, byte for byte as the
#               build's program
#   point       orvalis point --csv with the initial values
#   version     orvalis --version names the package's version
#   batch       orvalis batch on a small CSV file, to standard output and -o
#   map         orvalis map -o karte.png writes a PNG picture
#   completion  bash-completion finds the completion of orvalis in the
#               package's folder, and it offers the subcommands
#   python      the system interpreter imports the module from the
#               package's dist-packages and computes the initial point
# batch and map are skipped where the build's orvalis lacks the subcommand
# (or has only a stub without options).
# Usage: tools_test.sh TOOL DEBS BUILD_DIR VERSION
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
tool=$1 debs=$2 build=$3 version=$4
usr=$debs/root/usr
orvalis=$usr/bin/orvalis
[ -d "$usr" ] || fail "nothing unpacked in $debs/root (did Package.Build run?)"
new_tmp
cd "$tmp"

# run CMD...: runs CMD, standard output to out, standard error to err;
# fails unless the exit status is 0.
run() {
    local rc=0
    "$@" >out 2>err || rc=$?
    [ "$rc" -eq 0 ] || fail "$*: exit status $rc: $(head -5 err)"
}

# same FILE TEXT: FILE holds exactly TEXT.
same() {
    cmp -s "$1" <(printf '%s' "$2") || fail "$1 differs (< expected, > got):"$'\n'"$(diff <(printf '%s' "$2") "$1" | head -8)"
}

# sub_ready SUB: skips unless `orvalis SUB --help` shows the subcommand
# with options of its own (a stub offers only --help).
sub_ready() {
    local help
    help=$("$orvalis" "$1" --help 2>&1) || true
    grep -Eq "^Aufruf: orvalis $1( |\$)" <<<"$help" || skip "orvalis $1 does not exist in this build"
    grep -E '^  -' <<<"$help" | grep -vq -- '--help' || skip "orvalis $1 is a stub in this build"
}

check_calculator() {
    local s=$'i\n\n\n\n\n\n\n\nx\n' f
    PATH="$(noop_cls):$PATH" run_in want / "$s" "$build/orvalis2d"
    run_in got / "$s" "$usr/bin/orvalis2d"
    for f in out err rc; do
        cmp -s "want.$f" "got.$f" || fail "launcher: .$f differs from $build/orvalis2d"
    done
    grep -q '0.51m2/s$' got.out || fail "no result for the initial values"
}

check_point() {
    run "$orvalis" point --csv
    grep -q ',0.5092651,' out || fail "orvalis point --csv: no q 0.5092651 in: $(cat out)"
    "$build/orvalis" point --csv | cmp -s - out || fail "orvalis point --csv differs from the build's"
}

check_version() {
    run "$orvalis" --version
    same out "orvalis $version"$'\n'
}

check_batch() {
    sub_ready batch
    printf 'x,y\n100,0\n50,20\n-5,3\n' >in.csv
    local want='x,y,q,v,h,he,status,level
100,0,0.5092651,1.6098896,0.3163354,0.44843248,0,1
50,20,2.1166303,3.9383872,0.5374358,1.3280011,0,3
-5,3,,,,,5,
'
    run "$orvalis" batch in.csv
    same out "$want"
    run "$orvalis" batch in.csv -o result.csv
    same out ''
    same result.csv "$want"
}

check_map() {
    sub_ready map
    run "$orvalis" map -o karte.png -H 5 -B 10 --vol 4000 -S 1 -D 0.15
    cmp -s -n 8 karte.png <(printf '\211PNG\r\n\032\n') || fail "karte.png is no PNG picture"
}

check_completion() {
    local lib=/usr/share/bash-completion/bash_completion
    [ -f "$lib" ] || skip "$lib not found (bash-completion)"
    # shellcheck disable=SC2016 # expanded by the inner bash
    PATH="$usr/bin:$PATH" XDG_DATA_DIRS="$usr/share" bash --norc --noprofile -c '
        . "$1" && __load_completion orvalis || exit 1
        COMP_WORDS=(orvalis ""); COMP_CWORD=1; COMPREPLY=()
        _orvalis orvalis
        printf "%s\n" "${COMPREPLY[@]}"' - "$lib" >out 2>err || fail "completion not loaded: $(cat err)"
    grep -qx point out || fail "completion offers no point: $(cat out)"
}

check_python() {
    local py=/usr/bin/python3 site=$usr/lib/python3/dist-packages
    [ -x "$py" ] || skip "$py not found"
    "$py" -c 'import numpy' 2>/dev/null || skip "NumPy not found for $py (python3-numpy)"
    [ -d "$site/orvalis" ] || skip "no python3-orvalis in this build"
    PYTHONPATH=$site PYTHONNOUSERSITE=1 PYTHONDONTWRITEBYTECODE=1 run "$py" -c '
import sys, numpy as np, orvalis
assert orvalis.__file__.startswith(sys.argv[1]), orvalis.__file__
r = orvalis.intensity()
print(orvalis.__version__, r.status, r.level, "%08x" % np.float32(r.q).view(np.uint32))
' "$site/"
    same out "$version 0 1 3f025f33"$'\n' # q == 0.50926512f
}

case $tool in
calculator | point | version | batch | map | completion | python) "check_$tool" ;;
*) fail "unknown tool $tool" ;;
esac
echo "ok: $tool"
