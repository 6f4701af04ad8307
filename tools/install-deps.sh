#!/bin/sh
# Installs the Debian packages that the build and the tests need, where they
# are missing: the libraries of the orvalis command and the Python module
# (CLI11, cairo, GDAL, Boost.Geometry, pybind11, NumPy, pytest), lintian (checks the .deb),
# dpkg-dev (dpkg-shlibdeps computes the package's Depends) and groff-base
# (checks the manual page), libssl-dev (SHA-256 of a report's inputs),
# fonts-dejavu-core (the fonts embedded in reports) and poppler-utils
# (pdftotext reads reports back in the tests), qgis and python3-qgis (the
# styled vector outputs loaded as the desktop GIS loads them) and
# python3-pandas (the Python assessment's DataFrame), chromium,
# chromium-driver and python3-selenium (the HTML report shown in a headless
# browser).
# Does nothing when all are there. Without root or apt-get it only names what
# is missing.
set -eu

# One "package:file-it-provides" pair a line; a package is missing when its
# file is.
need="
libcli11-dev:/usr/include/CLI/CLI.hpp
libcairo2-dev:/usr/include/cairo/cairo.h
libgdal-dev:/usr/include/gdal/gdal.h
libboost-dev:/usr/include/boost/geometry/index/rtree.hpp
gdal-bin:/usr/bin/gdalinfo
python3-dev:/usr/include/python3.11/Python.h
python3-pybind11:/usr/include/pybind11/pybind11.h
python3-numpy:/usr/lib/python3/dist-packages/numpy/__init__.py
python3-pytest:/usr/lib/python3/dist-packages/pytest/__init__.py
python3-setuptools:/usr/lib/python3/dist-packages/setuptools/__init__.py
python3-pip:/usr/lib/python3/dist-packages/pip/__init__.py
python3-gdal:/usr/lib/python3/dist-packages/osgeo/__init__.py
lintian:/usr/bin/lintian
dpkg-dev:/usr/bin/dpkg-shlibdeps
groff-base:/usr/bin/groff
bash-completion:/usr/share/bash-completion/bash_completion
libssl-dev:/usr/include/openssl/evp.h
fonts-dejavu-core:/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
poppler-utils:/usr/bin/pdftotext
qgis:/usr/bin/qgis
python3-qgis:/usr/lib/python3/dist-packages/qgis/core/__init__.py
python3-pandas:/usr/lib/python3/dist-packages/pandas/__init__.py
chromium:/usr/lib/chromium/chromium
chromium-driver:/usr/bin/chromedriver
python3-selenium:/usr/lib/python3/dist-packages/selenium/__init__.py
"

missing=""
for pair in $need; do
    [ -e "${pair#*:}" ] || missing="$missing ${pair%%:*}"
done
[ -n "$missing" ] || exit 0

if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null 2>&1; then
    echo "install-deps: missing:$missing (not root or no apt-get)" >&2
    exit 0
fi

echo "install-deps: installing$missing"
export DEBIAN_FRONTEND=noninteractive
# shellcheck disable=SC2086 # one word per package
if ! { apt-get update && apt-get install -y --no-install-recommends $missing; }; then
    echo "install-deps: could not install$missing" >&2
    exit 1
fi
