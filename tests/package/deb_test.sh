#!/usr/bin/env bash
# The Debian packages made by debs_test.sh: control fields and contents of
# each, no file in two packages, together exactly what `cmake --install`
# installs, and the unpacked launcher running sessions exactly as the
# program of the build tree does.
# Usage: deb_test.sh BUILD_DIR SOURCE_DIR VERSION DEBS [PYTHON]
# PYTHON is the interpreter the module was built for; without it the build
# has no module and no python3-orvalis.
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
build=$1 src=$2 version=$3 debs=$4 python=${5:-}
need dpkg dpkg-deb gzip od
new_tmp
arch=$(dpkg --print-architecture)

# Per package, "name|section|each entry Depends must hold (regex; ...)";
# libc6 comes from dpkg-shlibdeps, the python3 range from the interpreter.
libc='libc6( \(>= [0-9.]+\))?'
packages=("orvalis2d|science|$libc" "liborvalis-dev|libdevel|")
if [ -n "$python" ]; then
    range=$("$python" -c 'import sys; v = sys.version_info
print(r"python3 \(>= %d\.%d\);python3 \(<< %d\.%d\)" % (v[0], v[1], v[0], v[1] + 1))')
    packages+=("python3-orvalis|python|python3-numpy( \([^)]*\))?;$range;$libc")
fi

# Files each package must hold (regex on dpkg-deb -c names; lib/ may be
# a multiarch folder), besides its copyright and changelog.
declare -A holds=(
    [orvalis2d]='usr/bin/orvalis2d usr/bin/orvalis usr/libexec/orvalis2d/orvalis2d
        usr/libexec/orvalis2d/cls usr/share/man/man1/orvalis2d\.1\.gz usr/share/man/man1/orvalis\.1\.gz
        usr/share/bash-completion/completions/orvalis usr/share/doc/orvalis2d/README\.md'
    [liborvalis-dev]='usr/lib/([^/]+/)?liborvalis\.a usr/include/orvalis/orvalis\.h
        usr/lib/([^/]+/)?cmake/orvalis/orvalisConfig\.cmake'
    [python3-orvalis]='usr/lib/python3/dist-packages/orvalis/__init__\.py
        usr/lib/python3/dist-packages/orvalis/_assess\.py
        usr/lib/python3/dist-packages/orvalis/_orvalis\..+\.so'
)

# gz_plain FILE: FILE was compressed with gzip -n (no name, no time stamp).
gz_plain() {
    [ "$(od -An -tx1 -j3 -N5 "$1" | tr -d ' \n')" = 0000000000 ] || fail "${1#"$debs"/} holds a name or time"
}

# field NAME: the first line of field NAME in $info.
field() { sed -n "s/^$1: //p" <<<"$info"; }

: >"$tmp/all"
for p in "${packages[@]}"; do
    IFS='|' read -r name section depends <<<"$p"
    deb=$(deb_of "$debs" "$name")
    info=$(dpkg-deb -f "$deb")
    for f in "Package|$name" "Version|${version//./\\.}" "Architecture|$arch" "Section|$section" \
        "Priority|optional" "Maintainer|.*<[^@>]+@([a-z0-9-]+\.)*example\.org>" "Description|.+"; do
        field "${f%%|*}" | grep -Eqx "${f#*|}" || fail "$name: no '${f%%|*}: ${f#*|}' in"$'\n'"$info"
    done
    grep -Eq '^ [^ ]' <<<"$info" || fail "$name: no long description"
    if [ -z "$depends" ]; then
        [ -z "$(field Depends)" ] || fail "$name: Depends: $(field Depends), expected none"
    fi
    IFS=';' read -ra wants <<<"$depends"
    for d in "${wants[@]}"; do
        field Depends | sed 's/, /\n/g' | grep -Eqx "$d" || fail "$name: Depends: $(field Depends) lacks $d"
    done

    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' >"$tmp/files"
    cat "$tmp/files" >>"$tmp/all"
    for f in ${holds[$name]} "usr/share/doc/$name/copyright" "usr/share/doc/$name/changelog\.gz"; do
        grep -Eqx "$f" "$tmp/files" || fail "$name lacks $f"
    done
    doc=$debs/root/usr/share/doc/$name
    cmp -s "$doc/copyright" "$src/cmake/deb/copyright" || fail "$name: copyright differs"
    gzip -dc "$doc/changelog.gz" | cmp -s - "$src/cmake/deb/changelog" || fail "$name: changelog differs"
    gz_plain "$doc/changelog.gz"
done
dups=$(sort "$tmp/all" | uniq -d)
[ -z "$dups" ] || fail "files in more than one package: $dups"

for page in orvalis2d orvalis; do
    f=$debs/root/usr/share/man/man1/$page.1.gz
    gzip -dc "$f" | cmp -s - "$src/man/$page.1" || fail "packaged manual page differs from man/$page.1"
    gz_plain "$f"
done

# Together the packages hold what the install rules install (with manual
# pages compressed; the documentation folders are the packages' own).
DESTDIR="$tmp/stage" cmake --install "$build" --prefix /usr >"$tmp/install.log" 2>&1 ||
    { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }
(cd "$tmp/stage" && find . ! -type d | sed 's|^\./||; s|\(/man/man[1-9]/.*\)$|\1.gz|') |
    grep -v '^usr/share/doc/' | sort >"$tmp/installed"
grep -v '^usr/share/doc/' "$tmp/all" | sort | diff "$tmp/installed" - >&2 ||
    fail "the packages hold other files than cmake --install installs (< installed only, > packaged only)"

# One calculation with the initial values, then the exit command, through
# the launcher and the package's own `cls`.
session=$'i\n\n\n\n\n\n\n\nx\n'
status=0
"$debs/root/usr/bin/orvalis2d" <<<"$session" >"$tmp/deb.out" 2>"$tmp/deb.err" || status=$?
[ "$status" -eq 0 ] || fail "unpacked program: exit status $status, expected 0"
[ ! -s "$tmp/deb.err" ] || fail "unpacked program wrote to standard error: $(cat "$tmp/deb.err")"
banner=$'\n  ------------------------------\n |    ORVALIS 2D Version 1.1    |\n'
cmp -s <(head -c ${#banner} "$tmp/deb.out") <(printf '%s' "$banner") || fail "output does not start with the banner"
grep -q '^ >spezifischer Abfluss :    0.51m2/s$' "$tmp/deb.out" || fail "no result line for the initial values"
check_tree "$debs/root/usr" "$build"
echo "ok: ${packages[*]%%|*}"
