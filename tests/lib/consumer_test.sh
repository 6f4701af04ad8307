#!/usr/bin/env bash
# The installed model library: `cmake --install --component dev` into a
# scratch DESTDIR puts the library, its headers and its CMake package there
# and nothing else; the package files hold no absolute path; a tiny project
# of its own builds against the tree, moved elsewhere, and prints the
# initial point's figures; a major version the tree does not hold is refused.
# Usage: consumer_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=../package/common.sh
. "${BASH_SOURCE[0]%/*}/../package/common.sh"
build=$1 src=$2
need cmake c++
new_tmp

prefix=/orv-lib-test-$$
DESTDIR="$tmp/stage" cmake --install "$build" --prefix "$prefix" --component dev \
    >"$tmp/install.log" 2>&1 || { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }
[ ! -e "$prefix" ] || fail "$prefix was written outside DESTDIR"
root=$tmp/stage$prefix

# Exactly the library, its header and the package files (lib/ may be a
# multiarch folder such as lib/x86_64-linux-gnu/).
(cd "$root" && find . -type f | sed -E 's|^\./||; s|^lib/[^/]+-gnu/|lib/|' | sort) >"$tmp/files"
printf '%s\n' include/orvalis/orvalis.h lib/cmake/orvalis/orvalisConfig.cmake \
    lib/cmake/orvalis/orvalisConfigVersion.cmake lib/cmake/orvalis/orvalisTargets-release.cmake \
    lib/cmake/orvalis/orvalisTargets.cmake lib/liborvalis.a >"$tmp/want"
diff "$tmp/want" "$tmp/files" >&2 || fail "component dev installs other files than expected"
cmp -s "$root/include/orvalis/orvalis.h" "$src/include/orvalis/orvalis.h" || fail "header differs"

# Relocatable: no path of this machine in the package files.
for p in "$prefix" "$tmp" "$build" "$src"; do
    rc=0
    grep -rlF --include='*.cmake' -e "$p" "$root"/lib*/ >"$tmp/abs" || rc=$?
    [ "$rc" -eq 1 ] || fail "package files name $p (grep status $rc): $(cat "$tmp/abs")"
done

# Move the tree, then configure, build and run the consumer against it.
mv "$root" "$tmp/moved"
cmake -S "$src/tests/lib/consumer" -B "$tmp/consumer" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_PREFIX_PATH="$tmp/moved" >"$tmp/configure.log" 2>&1 ||
    { cat "$tmp/configure.log" >&2; fail "consumer: configure failed"; }
cmake --build "$tmp/consumer" >"$tmp/build.log" 2>&1 ||
    { cat "$tmp/build.log" >&2; fail "consumer: build failed"; }
"$tmp/consumer/consumer" >"$tmp/out" || fail "consumer: exit status $?"
cat >"$tmp/expected" <<'OUT'
q = 0.50926512 v = 1.6098896 h = 0.31633541 he = 0.44843248 status = 0 level = 1
bits q = 3f025f33
grid status = 1 0, q(100, -20) = 0.43594769, same as point: yes
OUT
diff "$tmp/expected" "$tmp/out" >&2 || fail "consumer printed other figures"

# A version the package does not offer is refused.
if cmake -S "$src/tests/lib/consumer" -B "$tmp/consumer2" -DORV_WANT_VERSION=2 \
    -DCMAKE_PREFIX_PATH="$tmp/moved" >"$tmp/configure2.log" 2>&1; then
    fail "find_package(orvalis 2) succeeded"
fi
echo "ok: consumer built against the installed library"
