#!/bin/sh
# Installs the Debian packages that the package tests use, where they are
# missing: lintian (checks the .deb), dpkg-dev (dpkg-shlibdeps computes the
# package's Depends) and groff-base (checks the manual page).
# Does nothing when all are there. Without root or apt-get it only names what
# is missing; the tests that need it are then skipped.
set -eu

missing=""
command -v lintian >/dev/null 2>&1 || missing="$missing lintian"
command -v dpkg-shlibdeps >/dev/null 2>&1 || missing="$missing dpkg-dev"
command -v groff >/dev/null 2>&1 || missing="$missing groff-base"
[ -n "$missing" ] || exit 0

if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null 2>&1; then
    echo "install-deps: missing:$missing (not root or no apt-get; those tests are skipped)" >&2
    exit 0
fi

echo "install-deps: installing$missing"
export DEBIAN_FRONTEND=noninteractive
# A failed install (no network, say) leaves those tests skipped, not failed.
# shellcheck disable=SC2086 # one word per package
if ! { apt-get update && apt-get install -y --no-install-recommends $missing; }; then
    echo "install-deps: could not install$missing; those tests are skipped" >&2
fi
