#!/usr/bin/env bash
# `cmake --install` with DESTDIR puts the launcher, the program with its
# `cls`, the command orvalis, the manual pages, the completion and the
# documentation under DESTDIR/PREFIX and nothing under PREFIX itself; the
# staged launcher runs as the build's program, the staged orvalis runs.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
build=$1 src=$2 version=$3
new_tmp

prefix=/orv-install-test-$$
DESTDIR="$tmp/root" cmake --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }
[ ! -e "$prefix" ] || fail "$prefix was written outside DESTDIR"

root=$tmp/root$prefix
[ -x "$root/bin/orvalis2d" ] || fail "bin/orvalis2d missing or not executable"
# "installed file|its source", byte for byte.
same=("libexec/orvalis2d/cls|tools/cls" "share/man/man1/orvalis2d.1|man/orvalis2d.1"
    "share/man/man1/orvalis.1|man/orvalis.1" "share/doc/orvalis2d/README.md|README.md"
    "share/bash-completion/completions/orvalis|tools/completion/orvalis")
for f in "${same[@]}"; do
    cmp -s "$root/${f%%|*}" "$src/${f#*|}" || fail "${f%%|*} missing or differs from ${f#*|}"
done
[ "$("$root/bin/orvalis" --version)" = "orvalis $version" ] || fail "bin/orvalis --version"
check_tree "$root" "$build"
echo "ok: installed under DESTDIR$prefix"
