#!/usr/bin/env bash
# `cmake --install` with DESTDIR puts the launcher, the program with its
# `cls`, the manual page and the documentation under DESTDIR/PREFIX and
# nothing under PREFIX itself; the staged launcher runs as the build's program.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
build=$1 src=$2
new_tmp

prefix=/orv-install-test-$$
DESTDIR="$tmp/root" cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }
[ ! -e "$prefix" ] || fail "$prefix was written outside DESTDIR"

root=$tmp/root$prefix
[ -x "$root/bin/orvalis2d" ] || fail "bin/orvalis2d missing or not executable"
cmp -s "$root/libexec/orvalis2d/cls" "$src/tools/cls" || fail "libexec/orvalis2d/cls missing or differs"
cmp -s "$root/share/man/man1/orvalis2d.1" "$src/man/orvalis2d.1" || fail "share/man/man1/orvalis2d.1 missing or differs"
cmp -s "$root/share/doc/orvalis2d/README.md" "$src/README.md" || fail "share/doc/orvalis2d/README.md missing or differs"
check_tree "$root" "$build"
echo "ok: installed under DESTDIR$prefix"
