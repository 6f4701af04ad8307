#!/usr/bin/env bash
# lintian finds no error in any Debian package made by debs_test.sh
# (warnings and notes are shown).
# Usage: lintian_test.sh DEBS PACKAGE...
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
need lintian
new_tmp
debs=$1
shift

for p in "$@"; do
    deb=$(deb_of "$debs" "$p")
    status=0
    lintian --no-cfg "$deb" >"$tmp/lintian.out" 2>&1 || status=$?
    cat "$tmp/lintian.out"
    ! grep -q '^E: ' "$tmp/lintian.out" || fail "lintian reports errors for $p"
    [ "$status" -eq 0 ] || fail "lintian exited with status $status for $p"
    echo "ok: lintian $(basename "$deb")"
done
