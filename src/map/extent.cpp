// Choosing a map's extent and cell size.
#include "map/extent.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/steps.h"

namespace orv::map {

namespace {

// Width of the margin beside the widest jet, as a share of it.
constexpr double side_margin = 0.1;

// The float with bits u.
real from_bits(uint32_t u) {
    real f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

// The smallest positive Real x at which pred(status at x) holds, found by
// bisection over the bits of positive Reals (ordered as the values), given
// that it fails at 0 and holds at hi.
template <class P> real first_where(const site& s, real hi, const P& pred) {
    uint32_t lo = 0;
    uint32_t up;
    std::memcpy(&up, &hi, sizeof up);
    while (up - lo > 1) {
        const uint32_t mid = lo + (up - lo) / 2;
        if (pred(make_station(s, from_bits(mid)).st))
            up = mid;
        else
            lo = mid;
    }
    return from_bits(up);
}

} // namespace

// Far first, where the lookup distance passes the last table distance; the
// lookup distance never falls short of the relative distance, so the far
// end lies below 115 reference lengths.
std::optional<table_range> find_table_range(const site& s) {
    const real hi = static_cast<real>(s.root * 115.0);
    if (!(hi > 0 && std::isfinite(hi))) return std::nullopt;
    if (make_station(s, hi).st != 2 || make_station(s, 0).st != 1) return std::nullopt;
    const real far = first_where(s, hi, [](int32_t st) { return st == 2; });
    const real near = first_where(s, far, [](int32_t st) { return st != 1; });
    if (!(near < far)) return std::nullopt;
    return table_range{near, far};
}

// The edge of the jet is where the relative lateral position reaches 1:
// y = ywid * lref / fq.
double jet_half_width(const site& s, double x0, double x1) {
    double w = 0;
    constexpr int samples = 2048;
    for (int k = 0; k <= samples; ++k) {
        const real x = static_cast<real>(x0 + (x1 - x0) * k / samples);
        const station t = make_station(s, x);
        if (t.st != 0) continue;
        const double e = t.ywid * s.lref / t.fq;
        if (std::isfinite(e)) w = std::max(w, e);
    }
    return w;
}

// Ranges first (raw), the cell from them, then the automatic ranges
// widened to whole cells.
std::optional<map_grid> choose_grid(const site& s, const grid_request& r) {
    std::optional<table_range> t;
    if (!r.x || !r.y) {
        t = find_table_range(s);
        if (!t) return std::nullopt;
    }
    const range xr = r.x ? *r.x : range{0, t ? t->far : 0};
    double w = 0;
    if (!r.y) {
        const double a = std::max(xr.min, t->near);
        const double b = std::min(xr.max, t->far);
        w = a < b ? jet_half_width(s, a, b) : 0;
        if (!(w > 0)) w = jet_half_width(s, t->near, t->far);
        if (!(w > 0)) w = 0.05 * (t->far - t->near);
        w *= 1 + side_margin;
    }
    const range yr = r.y ? *r.y : range{-w, w};
    const double cell =
        r.cell ? *r.cell : step_nearest(std::max(xr.max - xr.min, yr.max - yr.min) / auto_cells);
    map_grid g;
    // The automatic x range goes on past the end of the tables by 3 % (at
    // least two cells), so that the zone beyond them shows.
    const double xmax =
        r.x ? xr.max
            : std::ceil(std::max(xr.max * (1 + far_margin), xr.max + 2 * cell) / cell) * cell;
    const double ymax = r.y ? yr.max : std::ceil(yr.max / cell) * cell;
    g.x = make_axis(xr.min, xmax, cell);
    g.y = make_axis(r.y ? yr.min : -ymax, ymax, cell);
    return g;
}

} // namespace orv::map
