#!/usr/bin/env bash
# On a terminal (a pseudo-terminal made by `script`), the installed `cls`
# writes the terminal's clear sequence, or the ANSI one without a usable
# TERM, and the launcher starts the calculator on a cleared screen.
# Usage: tty_test.sh BUILD_DIR
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
need script tput
new_tmp

DESTDIR="$tmp/root" cmake --install "$1" --prefix /usr >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }
root=$tmp/root/usr

# on_tty INPUT CMD: runs CMD (a shell command) on a pseudo-terminal, with
# INPUT typed; prints what the terminal received.
on_tty() {
    printf '%s' "$1" | script -qec "$2" /dev/null
}

ansi=$'\e[H\e[2J'
# "environment|expected bytes": no TERM and an unknown TERM get the ANSI
# sequence; a known terminal gets its own (vt52's differs from ANSI).
cases=("-uTERM|$ansi" "TERM=orv-no-such-terminal|$ansi" "TERM=xterm|$ansi" $'TERM=vt52|\eH\eJ')
for c in "${cases[@]}"; do
    on_tty '' "env ${c%%|*} '$root/libexec/orvalis2d/cls' 2>'$tmp/err'" >"$tmp/got"
    cmp -s "$tmp/got" <(printf '%s' "${c#*|}") ||
        fail "cls with ${c%%|*}: got $(od -An -c "$tmp/got"), expected $(printf '%s' "${c#*|}" | od -An -c)"
    [ ! -s "$tmp/err" ] || fail "cls with ${c%%|*} wrote to standard error: $(cat "$tmp/err")"
done

# The terminal echoes the typed x somewhere; the screen is cleared before
# the first line of the banner.
on_tty $'x\n' "env -uTERM '$root/bin/orvalis2d'" >"$tmp/run"
out=$(<"$tmp/run")
out=${out/$'x\r\n'/}
[[ $out == "$ansi"$'\r\n  ------'* ]] || fail "launcher on a terminal: $(od -An -c "$tmp/run" | head -3)"
echo "ok: cls and the launcher on a pseudo-terminal"
