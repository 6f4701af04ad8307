// Sampling of points, lines and polygons in double.
#include "assess/sample.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orv::assess {

sampler::sampler(double spacing, sample_sink& sink, std::vector<xy>& buf)
    : s_(spacing), sink_(sink), buf_(buf) {
    buf_.clear();
}

void sampler::put(double e, double n) {
    buf_.push_back({e, n});
    if (buf_.size() == chunk) flush();
}

void sampler::flush() {
    if (!buf_.empty()) sink_.take(buf_.data(), buf_.size());
    buf_.clear();
}

void sampler::point(xy p) {
    put(p.e, p.n);
}

// The points strictly between a and b; a itself is put by the caller.
void sampler::segment(xy a, xy b) {
    const double de = b.e - a.e;
    const double dn = b.n - a.n;
    const double len = std::hypot(de, dn);
    if (!(len > 0)) return;
    const double steps = std::ceil(len / s_);
    if (!(steps < max_lattice_index)) return; // refused by read_parts before
    const auto n = static_cast<std::int64_t>(steps);
    for (std::int64_t k = 1; k < n; ++k) {
        const double t = static_cast<double>(k) * s_ / len;
        put(a.e + t * de, a.n + t * dn);
    }
}

void sampler::line(const xy* v, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        put(v[i].e, v[i].n);
        if (i + 1 < n) segment(v[i], v[i + 1]);
    }
}

void sampler::polygon(const std::vector<std::vector<xy>>& rings) {
    double top = -INFINITY, bottom = INFINITY;
    for (const auto& r : rings) {
        for (std::size_t i = 0; i + 1 < r.size(); ++i) {
            put(r[i].e, r[i].n);
            segment(r[i], r[i + 1]);
        }
        for (const xy& p : r) top = std::max(top, p.n), bottom = std::min(bottom, p.n);
    }
    if (!(bottom <= top)) return;
    // Lattice indices are integers: a double index beyond 2^53 would no
    // longer change by one. A polygon that far out in spacings has no
    // lattice here; read_parts refuses it before it comes this far.
    if (!in_lattice(top, s_) || !in_lattice(bottom, s_)) return;
    // Row m has its centre at (m + 0.5) s; one row more on each side, the
    // rule below decides which hold points.
    const auto m_top = static_cast<std::int64_t>(std::floor(top / s_));
    const auto m_bottom = static_cast<std::int64_t>(std::floor(bottom / s_)) - 1;
    for (std::int64_t m = m_top; m >= m_bottom; --m) {
        const double y = (static_cast<double>(m) + 0.5) * s_;
        // Crossings of the row with every edge, an edge counting when its
        // ends lie on different sides of y with "above" meaning > y: a
        // vertex or horizontal edge on the row is decided half-open.
        cross_.clear();
        for (const auto& r : rings) {
            for (std::size_t i = 0; i + 1 < r.size(); ++i) {
                const xy a = r[i];
                const xy b = r[i + 1];
                if ((a.n > y) != (b.n > y))
                    cross_.push_back(a.e + (y - a.n) * (b.e - a.e) / (b.n - a.n));
            }
        }
        if (cross_.size() < 2) continue;
        std::sort(cross_.begin(), cross_.end());
        // A point x is inside when an odd number of crossings lie east of
        // it: x in [c0, c1), [c2, c3), ...
        for (std::size_t i = 0; i + 1 < cross_.size(); i += 2) row(cross_[i], cross_[i + 1], y);
    }
}

// The lattice centres (k + 0.5) s in [lo, hi) on the row at y.
void sampler::row(double lo, double hi, double y) {
    if (!in_lattice(lo, s_) || !in_lattice(hi, s_)) return;
    auto at = [&](std::int64_t k) { return (static_cast<double>(k) + 0.5) * s_; };
    auto k = static_cast<std::int64_t>(std::floor(lo / s_ - 0.5));
    while (at(k) < lo) ++k;
    while (at(k - 1) >= lo) --k;
    for (double x = at(k); x < hi; x = at(++k)) put(x, y);
}

bool in_lattice(double c, double spacing) {
    return std::fabs(c / spacing) < max_lattice_index;
}

} // namespace orv::assess
