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
