#!/usr/bin/env bash
# lintian finds no error in the Debian package (warnings and notes are shown).
# Usage: lintian_test.sh BUILD_DIR
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
need lintian
new_tmp
build_deb "$1"

status=0
lintian --no-cfg "$deb" >"$tmp/lintian.out" 2>&1 || status=$?
cat "$tmp/lintian.out"
! grep -q '^E: ' "$tmp/lintian.out" || fail "lintian reports errors"
[ "$status" -eq 0 ] || fail "lintian exited with status $status"
echo "ok: lintian $(basename "$deb")"
