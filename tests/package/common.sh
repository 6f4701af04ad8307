# shellcheck shell=bash disable=SC2034 # tmp and deb are set for the caller
# Helpers shared by the package tests (sourced, not run).
# A test exits 77 when a tool it needs is missing; CTest counts that as skipped.

skip() {
    echo "SKIP: $*"
    exit 77
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# need TOOL...: skips the test unless every tool is on PATH.
need() {
    local t
    for t in "$@"; do
        command -v "$t" >/dev/null 2>&1 || skip "$t not found (tools/install-deps.sh installs it)"
    done
}

# new_tmp: a fresh folder in $tmp, removed when the test ends, so that tests
# running in parallel never share files.
new_tmp() {
    tmp=$(mktemp -d "${TMPDIR:-/tmp}/orv-pkg.XXXXXX")
    trap 'rm -rf "$tmp"' EXIT
}

# build_deb BUILD_DIR: packages the build tree with CPack into $tmp/cpack and
# sets $deb to the one package file made there.
build_deb() {
    need cpack dpkg-deb dpkg-shlibdeps
    [ -f "$1/CPackConfig.cmake" ] || fail "no CPackConfig.cmake in $1"
    if ! cpack -G DEB --config "$1/CPackConfig.cmake" -B "$tmp/cpack" >"$tmp/cpack.log" 2>&1; then
        cat "$tmp/cpack.log" >&2
        fail "cpack failed"
    fi
    local found=("$tmp"/cpack/*.deb)
    if [ ${#found[@]} -ne 1 ] || [ ! -f "${found[0]}" ]; then
        fail "expected one .deb, got: ${found[*]}"
    fi
    deb=${found[0]}
}

# noop_cls: a folder holding a `cls` that does nothing, to put first on PATH,
# so that the screen clear at start writes nothing.
noop_cls() {
    mkdir -p "$tmp/bin"
    printf '#!/bin/sh\nexit 0\n' >"$tmp/bin/cls"
    chmod +x "$tmp/bin/cls"
    echo "$tmp/bin"
}
