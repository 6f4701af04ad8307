#!/usr/bin/env bash
# `pip install --no-build-isolation --no-deps --target DIR .` with the
# system interpreter builds the package from a copy of the source tree by
# the project's CMake build; the installed package computes the initial
# point's figures, and the build leaves nothing in the tree outside its
# git-ignored build-python/.
# Usage: pip_test.sh PYTHON SOURCE_DIR
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=../package/common.sh
. "${BASH_SOURCE[0]%/*}/../package/common.sh"
python=$1 src=$2
need cmake c++ tar
"$python" -m pip --version >/dev/null 2>&1 || skip "pip for $python not found"
new_tmp

mkdir "$tmp/src"
(cd "$src" && tar -cf - --exclude=./.git --exclude=./build --exclude='./build-*' .) |
    (cd "$tmp/src" && tar -xf -)
(cd "$tmp/src" && find . | sort) >"$tmp/before"

if ! (cd "$tmp/src" && "$python" -m pip install --no-build-isolation --no-deps --no-cache-dir \
    --disable-pip-version-check --target "$tmp/site" .) >"$tmp/pip.log" 2>&1; then
    cat "$tmp/pip.log" >&2
    fail "pip install failed"
fi

(cd "$tmp/src" && find . | grep -v '^\./build-python' | sort) >"$tmp/after"
diff "$tmp/before" "$tmp/after" >&2 || fail "the pip build left files in the source tree"

cd "$tmp"
PYTHONPATH=$tmp/site "$python" -c '
import sys, orvalis
assert orvalis.__file__.startswith(sys.argv[1]), orvalis.__file__
r = orvalis.intensity()
print(" ".join("%.8g" % v for v in r[:4]), r.status, r.level)
' "$tmp/site/" >"$tmp/out" 2>&1 ||
    { cat "$tmp/out" >&2; fail "the installed package does not work"; }
echo "0.50926512 1.6098896 0.31633541 0.44843248 0 1" | diff - "$tmp/out" >&2 ||
    fail "the installed package computes other figures"
echo "ok: pip built and installed the package"
