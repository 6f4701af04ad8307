#!/usr/bin/env bash
# The Debian package: control fields, file list, and the unpacked launcher
# running sessions exactly as the program of the build tree does.
# Usage: deb_test.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
build=$1 src=$2 version=$3
new_tmp
build_deb "$build"

info=$(dpkg-deb --info "$deb")
expect_field() {
    grep -Eq "^ $1: $2\$" <<<"$info" || fail "dpkg-deb --info: no '$1: $2' in"$'\n'"$info"
}
expect_field Package orvalis2d
expect_field Version "${version//./\\.}"
expect_field Depends '(.*, )?libc6( \([^)]*\))?(, .*)?'
expect_field Maintainer '.*<[^@>]+@([a-z0-9-]+\.)*example\.org>'
expect_field Section science
expect_field Priority optional
expect_field Description '.+'
grep -Eq '^  [^ ]' <<<"$info" || fail "no long description"

dpkg-deb -x "$deb" "$tmp/x"
for f in usr/bin/orvalis2d usr/libexec/orvalis2d/orvalis2d usr/libexec/orvalis2d/cls \
    usr/share/man/man1/orvalis2d.1.gz usr/share/doc/orvalis2d/README.md \
    usr/share/doc/orvalis2d/copyright usr/share/doc/orvalis2d/changelog.gz; do
    [ -f "$tmp/x/$f" ] || fail "package lacks $f"
done
# The library and the Python module are components of their own, not the program's.
if find "$tmp/x" -name liborvalis.a -o -name orvalis.h -o -name '_orvalis*' | grep -q .; then
    fail "package holds the library or the Python module"
fi
gzip -dc "$tmp/x/usr/share/man/man1/orvalis2d.1.gz" | cmp -s - "$src/man/orvalis2d.1" ||
    fail "packaged manual page differs from man/orvalis2d.1"

# One calculation with the initial values, then the exit command, through
# the launcher and the package's own `cls`.
session=$'i\n\n\n\n\n\n\n\nx\n'
status=0
"$tmp/x/usr/bin/orvalis2d" <<<"$session" >"$tmp/deb.out" 2>"$tmp/deb.err" || status=$?
[ "$status" -eq 0 ] || fail "unpacked program: exit status $status, expected 0"
[ ! -s "$tmp/deb.err" ] || fail "unpacked program wrote to standard error: $(cat "$tmp/deb.err")"
banner=$'\n  ------------------------------\n |    ORVALIS 2D Version 1.1    |\n'
cmp -s <(head -c ${#banner} "$tmp/deb.out") <(printf '%s' "$banner") || fail "output does not start with the banner"
grep -q '^ >spezifischer Abfluss :    0.51m2/s$' "$tmp/deb.out" || fail "no result line for the initial values"
check_tree "$tmp/x/usr" "$build"
echo "ok: $(basename "$deb")"
