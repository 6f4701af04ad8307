// World boxes of map pictures.
#include "map/world_box.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orv::map {

void world_box::add(double e, double n) {
    if (empty()) {
        e0 = e1 = e;
        n0 = n1 = n;
        return;
    }
    e0 = std::min(e0, e), e1 = std::max(e1, e);
    n0 = std::min(n0, n), n1 = std::max(n1, n);
}

void world_box::add(const world_box& b) {
    if (b.empty()) return;
    add(b.e0, b.n0);
    add(b.e1, b.n1);
}

// Along the jet (sin a, cos a), to its left (-cos a, sin a).
void to_world(const georef& g, double x, double y, double& e, double& n) {
    const double a = g.azimuth * (std::numbers::pi / 180);
    e = g.e0 + x * std::sin(a) - y * std::cos(a);
    n = g.n0 + x * std::cos(a) + y * std::sin(a);
}

world_box computed_box(const georef& g, const axis& x, const axis& y) {
    world_box b;
    for (double px : {x.min, x.end()}) {
        for (double py : {y.min, y.end()}) {
            double e, n;
            to_world(g, px, py, e, n);
            b.add(e, n);
        }
    }
    return b;
}

world_box fit_box(world_box b, double aspect) {
    if (b.empty()) return b;
    if (!(b.width() > 0)) b.e0 -= 1, b.e1 += 1;
    if (!(b.height() > 0)) b.n0 -= 1, b.n1 += 1;
    const double pe = 0.05 * b.width(), pn = 0.05 * b.height();
    b.e0 -= pe, b.e1 += pe, b.n0 -= pn, b.n1 += pn;
    if (!(aspect > 0) || !std::isfinite(aspect)) return b;
    if (b.width() / b.height() < aspect) {
        const double grow = (b.height() * aspect - b.width()) / 2;
        b.e0 -= grow, b.e1 += grow;
    } else {
        const double grow = (b.width() / aspect - b.height()) / 2;
        b.n0 -= grow, b.n1 += grow;
    }
    return b;
}

} // namespace orv::map
