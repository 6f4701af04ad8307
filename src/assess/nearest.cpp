// Distance from a point to points, lines and polygons given as parts.
#include "assess/nearest.h"

#include <algorithm>
#include <cmath>

namespace orv::assess {

namespace {

double to_segment(xy a, xy b, xy p) {
    const double de = b.e - a.e, dn = b.n - a.n;
    const double len2 = de * de + dn * dn;
    double t = len2 > 0 ? ((p.e - a.e) * de + (p.n - a.n) * dn) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(a.e + t * de - p.e, a.n + t * dn - p.n);
}

double to_path(const std::vector<xy>& v, xy p) {
    if (v.size() == 1) return std::hypot(v[0].e - p.e, v[0].n - p.n);
    double d = INFINITY;
    for (std::size_t k = 1; k < v.size(); ++k) d = std::min(d, to_segment(v[k - 1], v[k], p));
    return d;
}

// Even-odd rule over closed rings.
bool inside(const std::vector<std::vector<xy>>& rings, xy p) {
    bool in = false;
    for (const auto& r : rings) {
        for (std::size_t k = 1; k < r.size(); ++k) {
            const xy a = r[k - 1], b = r[k];
            if ((a.n > p.n) != (b.n > p.n) && p.e < a.e + (p.n - a.n) * (b.e - a.e) / (b.n - a.n))
                in = !in;
        }
    }
    return in;
}

} // namespace

double distance_to(const std::vector<part>& parts, xy p) {
    double d = INFINITY;
    for (const part& pt : parts) {
        if (pt.k == part::polygon && inside(pt.rings, p)) return 0;
        for (const auto& r : pt.rings) d = std::min(d, to_path(r, p));
    }
    return d;
}

} // namespace orv::assess
