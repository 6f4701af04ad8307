// The world raster over a rotated map.
#include "map/frame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv::map {

// Corners taken to the world: along the jet (sin a, cos a), to its left
// (-cos a, sin a); their bounding box widened to whole multiples of the
// cell size.
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
    const double cs = x.cell;
    // The lattice line at or below v, and at or above it.
    auto below = [cs](double v) {
        double k = std::floor(v / cs);
        return k * cs > v ? k - 1 : k;
    };
    auto above = [cs](double v) {
        double k = std::ceil(v / cs);
        return k * cs < v ? k + 1 : k;
    };
    const double k0 = below(e0), k1 = std::max(above(e1), k0 + 1);
    const double m1 = below(n0), m0 = std::max(above(n1), m1 + 1);
    world_raster w{{k0 * cs, cs, 0, m0 * cs, 0, -cs}, 0, 0, k0, m0};
    constexpr double whole = 4503599627370496.0; // 2^52: beyond, k + 0.5 is not exact
    const double limit = static_cast<double>(max_axis_cells);
    const bool fits = std::fabs(k0) < whole && std::fabs(k1) < whole && std::fabs(m0) < whole &&
                      std::fabs(m1) < whole && k1 - k0 <= limit && m0 - m1 <= limit;
    if (!fits) return w;
    const auto nx = static_cast<std::size_t>(k1 - k0);
    const auto ny = static_cast<std::size_t>(m0 - m1);
    if (nx * ny <= max_cells) w.nx = nx, w.ny = ny;
    return w;
}

// Bounds inclusive.
bool inside(const jet_point& p, const axis& x, const axis& y) {
    return x.min <= p.x && p.x <= x.max && y.min <= p.y && p.y <= y.max;
}

bool too_coarse(const georef& g, const axis& x, const axis& y) {
    const double far = std::max(std::fabs(g.e0), std::fabs(g.n0));
    const double span = std::max(x.end() - x.min, y.end() - y.min);
    return (far + span) - far < span / 2 || far + x.cell == far;
}

} // namespace orv::map
