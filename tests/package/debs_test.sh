#!/usr/bin/env bash
# Makes the Debian packages of the build tree with CPack into DEBS/cpack/,
# one file PACKAGE_VERSION_ARCH.deb for each PACKAGE named and no other,
# and unpacks them all into the scratch root DEBS/root/, for the package
# tests that follow (the CTest fixture orv_debs).
# Usage: debs_test.sh BUILD_DIR DEBS VERSION PACKAGE...
set -euo pipefail
# shellcheck source=common.sh
. "${BASH_SOURCE[0]%/*}/common.sh"
build=$1 debs=$2 version=$3
shift 3
need cpack dpkg dpkg-deb dpkg-shlibdeps
[ -f "$build/CPackConfig.cmake" ] || fail "no CPackConfig.cmake in $build"

rm -rf "$debs"
mkdir -p "$debs"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$debs/cpack" >"$debs/cpack.log" 2>&1; then
    cat "$debs/cpack.log" >&2
    fail "cpack failed"
fi
arch=$(dpkg --print-architecture)
(cd "$debs/cpack" && LC_ALL=C ls -- *.deb) >"$debs/got"
printf "%s_${version}_$arch.deb\n" "$@" | LC_ALL=C sort >"$debs/want"
diff "$debs/want" "$debs/got" >&2 || fail "cpack made other packages than expected"
for p in "$@"; do
    dpkg-deb -x "$debs/cpack/${p}_${version}_$arch.deb" "$debs/root"
done
echo "ok: $(tr '\n' ' ' <"$debs/got")"
