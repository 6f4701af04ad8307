#!/usr/bin/env bash
# The manual page formats without a single groff warning.
# Usage: manpage_test.sh MANPAGE
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
need groff

out=$(groff -man -ww -z "$1" 2>&1) || fail "groff exited with status $?: $out"
[ -z "$out" ] || fail "groff warnings for $1:"$'\n'"$out"
echo "ok: groff -man -ww -z $1 printed nothing"

# The command's page: in the rendered SYNOPSIS every subcommand starts a line
# of its own, and BESCHREIBUNG names each of them as an entry.
[ "${1##*/}" = orvalis.1 ] || exit 0
page=$(groff -man -Tascii -rLL=250n -P-cbou "$1" 2>/dev/null)
synopsis=$(printf '%s\n' "$page" | sed -n '/^SYNOPSIS/,/^BESCHREIBUNG/p')
entries=$(printf '%s\n' "$page" | sed -n '/^BESCHREIBUNG/,/^PARAMETER/p')
for sub in point batch map profile assess report inventory; do
    n=$(printf '%s\n' "$synopsis" | grep -c "orvalis $sub") || true
    [ "$n" = 1 ] || fail "SYNOPSIS: 'orvalis $sub' on $n lines"
    printf '%s\n' "$synopsis" | grep -q "^ *orvalis $sub " ||
        fail "SYNOPSIS: 'orvalis $sub' does not start a line"
    printf '%s\n' "$entries" | grep -Eq "^ {7}$sub( |\$)" ||
        fail "BESCHREIBUNG: no entry for $sub"
done
echo "ok: SYNOPSIS and BESCHREIBUNG of $1 show all seven subcommands"
