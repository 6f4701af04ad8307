// The north-up raster that covers a map's rotated extent in world
// coordinates, and which jet points lie in the map.
#pragma once
#include <cstddef>

#include "map/axis.h"
#include "model/jet_frame.h"

namespace orv::map {

// The jet's frame and the world-to-jet formula are the model's.
using georef = world_frame;
using orv::jet_point;
using orv::to_jet;

// A north-up raster on the lattice of its cell size s: its west edge at
// k0 * s and its north edge at m0 * s for whole numbers k0, m0, so rasters
// of different runs with the same cell size overlay cell for cell.
// Geotransform gt (k0 s, s, 0, m0 s, 0, -s) and its size in cells.
struct world_raster {
    double gt[6];
    std::size_t nx = 0;
    std::size_t ny = 0;
    double k0 = 0; // whole numbers, below 2^52 in magnitude
    double m0 = 0;

    // World centre of column i and row j, in double: the lattice points
    // ((k + 0.5) s, (m + 0.5) s) with k = k0 + i and m = m0 - 1 - j.
    double east(std::size_t i) const { return (k0 + static_cast<double>(i) + 0.5) * gt[1]; }
    double north(std::size_t j) const { return (m0 - 1 - static_cast<double>(j) + 0.5) * gt[1]; }
};

// The raster with cells of size cell over the bounding box of the rotated
// rectangle x from x.min to x.max, y from y.min to y.max, widened to the
// next lattice lines; nx or ny is 0 when it would have too many cells.
world_raster cover(const georef& g, const axis& x, const axis& y);

// Whether world coordinates as large as g's origin lose the extent of the
// grid x, y or its cells: the extent or a cell added to them leaves them
// (almost) as they are. Says why cover found too many cells.
bool too_coarse(const georef& g, const axis& x, const axis& y);

// True when the jet point p lies in the map: inside the ranges, compared in
// double. A point at x <= 0 inside them is computed, as status 5 (not
// downstream of the breach), as the jet frame's grid does.
bool inside(const jet_point& p, const axis& x, const axis& y);

} // namespace orv::map
