#!/usr/bin/env bash
# The bash completion of the orvalis command offers its subcommands and the
# options of the subcommand being typed, read from the program's --help.
# Usage: completion_test.sh COMPLETION_FILE ORVALIS_BINARY
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
file=$1 prog=$2
need compgen
# shellcheck source=/dev/null
. "$file"

# offers WORD... -- EXPECTED...: completing the last word offers each expected word.
check() {
    local words=() want
    while [ "$1" != -- ]; do words+=("$1"); shift; done
    shift
    COMP_WORDS=("${words[@]}")
    COMP_CWORD=$((${#words[@]} - 1))
    COMPREPLY=()
    _orvalis "$prog"
    for want in "$@"; do
        [[ " ${COMPREPLY[*]} " == *" $want "* ]] ||
            fail "completing '${words[*]}' offers '${COMPREPLY[*]}', not '$want'"
    done
}

check orvalis "" -- point batch --help --version
check orvalis po -- point
check orvalis point - -- -H -B --vol -S -D -x -y --levels --csv --correct --digits
check orvalis point --c -- --csv --correct
check orvalis batch - -- --help
check orvalis assess - -- --origin --azimuth --layer --spacing --from --keep-going
check orvalis assess --from "" -- 1 2 3
check orvalis inventory - -- --objects --field --shard --prefer --keep-going
check orvalis inventory --prefer "" -- options
echo "ok: completion"
