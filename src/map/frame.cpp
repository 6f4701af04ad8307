// The world raster over a rotated map.
#include "map/frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv::map {

// Corners taken to the world: along the jet (sin a, cos a), to its left
// (-cos a, sin a).
world_raster cover(const georef& g, const axis& x, const axis& y) {
    const double a = g.azimuth * (std::numbers::pi / 180);
    const double s = std::sin(a);
    const double c = std::cos(a);
    double e0 = INFINITY, e1 = -INFINITY, n0 = INFINITY, n1 = -INFINITY;
    for (double px : {x.min, x.max}) {
        for (double py : {y.min, y.max}) {
            const double e = g.e0 + px * s - py * c;
            const double n = g.n0 + px * c + py * s;
            e0 = std::min(e0, e), e1 = std::max(e1, e);
            n0 = std::min(n0, n), n1 = std::max(n1, n);
        }
    }
    world_raster w{{e0, x.cell, 0, n1, 0, -x.cell}};
    const auto nx = cell_count(e0, e1, x.cell);
    const auto ny = cell_count(n0, n1, x.cell);
    if (nx && ny && *nx * *ny <= max_cells) w.nx = *nx, w.ny = *ny;
    return w;
}

// Bounds inclusive, x strictly downstream.
bool inside(const jet_point& p, const axis& x, const axis& y) {
    return p.x > 0 && x.min <= p.x && p.x <= x.max && y.min <= p.y && p.y <= y.max;
}

} // namespace orv::map
