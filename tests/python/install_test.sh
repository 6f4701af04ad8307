#!/usr/bin/env bash
# `cmake --install --component python` into a scratch DESTDIR puts the
# package orvalis (and nothing else) in lib/python3/dist-packages/; the
# interpreter imports it from there and computes the initial point.
# Usage: install_test.sh PYTHON BUILD_DIR
set -euo pipefail
# shellcheck source-path=SCRIPTDIR source=../package/common.sh
. "${BASH_SOURCE[0]%/*}/../package/common.sh"
python=$1 build=$2
need cmake
new_tmp

DESTDIR="$tmp/stage" cmake --install "$build" --prefix /usr --component python \
    >"$tmp/install.log" 2>&1 || { cat "$tmp/install.log" >&2; fail "cmake --install failed"; }
site=$tmp/stage/usr/lib/python3/dist-packages
(cd "$tmp/stage" && find . -type f | LC_ALL=C sort) >"$tmp/files"
suffix=$("$python" -c 'import sysconfig; print(sysconfig.get_config_var("EXT_SUFFIX"))')
printf '%s\n' ./usr/lib/python3/dist-packages/orvalis/__init__.py \
    ./usr/lib/python3/dist-packages/orvalis/_assess.py \
    "./usr/lib/python3/dist-packages/orvalis/_orvalis$suffix" >"$tmp/want"
diff "$tmp/want" "$tmp/files" >&2 || fail "component python installs other files than expected"

cd "$tmp"
PYTHONPATH=$site "$python" -c '
import sys, orvalis
assert orvalis.__file__.startswith(sys.argv[1]), orvalis.__file__
print("%.8g" % orvalis.intensity().q)
' "$site/" >"$tmp/out" 2>&1 ||
    { cat "$tmp/out" >&2; fail "the installed package does not work"; }
echo 0.50926512 | diff - "$tmp/out" >&2 || fail "the installed package computes another q"
echo "ok: package installed under DESTDIR/usr"
