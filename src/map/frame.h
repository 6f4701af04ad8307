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

// A north-up raster: geotransform gt (origin, cell width, 0, top, 0,
// -cell height) and its size in cells.
struct world_raster {
    double gt[6];
    std::size_t nx = 0;
    std::size_t ny = 0;

    // World centre of column i and row j, in double.
    double east(std::size_t i) const { return gt[0] + (static_cast<double>(i) + 0.5) * gt[1]; }
    double north(std::size_t j) const { return gt[3] + (static_cast<double>(j) + 0.5) * gt[5]; }
};

// The raster with cells of size cell whose extent is the bounding box of
// the rotated rectangle x from x.min to x.max, y from y.min to y.max;
// nx or ny is 0 when it would have too many cells.
world_raster cover(const georef& g, const axis& x, const axis& y);

// True when the jet point p lies in the map: x > 0 and inside the ranges,
// compared in double.
bool inside(const jet_point& p, const axis& x, const axis& y);

} // namespace orv::map
