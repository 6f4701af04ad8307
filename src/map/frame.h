// The jet's frame in world coordinates: turning a world point into (x, y)
// and the north-up raster that covers a map's rotated extent.
#pragma once
#include <cstddef>

#include "map/axis.h"

namespace orv::map {

// The breach at (e0, n0) and the jet's direction in degrees clockwise from north.
struct georef {
    double e0 = 0;
    double n0 = 0;
    double azimuth = 0;
};

// A point in the jet's frame: x along the jet, y to its left.
struct jet_point {
    double x;
    double y;
};

// The world point (e, n) in the jet's frame, in double: a = azimuth in
// radians, x = dE sin a + dN cos a, y = dN sin a - dE cos a.
jet_point to_jet(const georef& g, double e, double n);

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

// True when the jet point p lies in the map: inside the ranges, compared in
// double. A point at x <= 0 inside them is computed, as status 5 (not
// downstream of the breach), as the jet frame's grid does.
bool inside(const jet_point& p, const axis& x, const axis& y);

} // namespace orv::map
