#!/usr/bin/env bash
# Wall time of whole `orvalis map` runs on a 1000 x 1000 grid of the
# initial site (x 0 to 125 m, y -62.5 to 62.5 m, cells of 0.125 m): summary
# only, with a PNG, with a GeoTIFF, with both, and a rotated GeoTIFF.
#
# Usage: bench/map.sh [path/to/orvalis]
# Environment:
#   ORV_BIN   the program (default build-bench/orvalis; the argument wins)
#   RUNS      runs per command (default 20)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
bin=${1:-${ORV_BIN:-$here/../build-bench/orvalis}}
runs=${RUNS:-20}

if [[ ! -x $bin ]]; then
    echo "map.sh: no program at $bin (build it, or pass its path)" >&2
    exit 1
fi
if ! command -v hyperfine >/dev/null; then
    echo "map.sh: hyperfine not found" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
grid="--x 0:125 --y -62.5:62.5 --cell 0.125"
geo="--origin 500000,5400000 --azimuth 37.5 --crs EPSG:25832"

hyperfine --warmup 2 --runs "$runs" -N \
    -n summary "$bin map $grid" \
    -n png "$bin map $grid -o $work/k.png" \
    -n geotiff "$bin map $grid --raster $work/k.tif" \
    -n png+geotiff "$bin map $grid -o $work/k.png --raster $work/k.tif" \
    -n rotated-geotiff "$bin map $grid --raster $work/w.tif $geo"
