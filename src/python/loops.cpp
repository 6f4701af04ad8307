// Loops of the Python module.
#include "python/loops.h"

namespace orv::python {

namespace {

// Writes result r and its level to index i of out.
void put(const point_out& out, std::size_t i, const orvalis::result& r, const orvalis::levels& l) {
    out.q[i] = r.q;
    out.v[i] = r.v;
    out.h[i] = r.h;
    out.he[i] = r.he;
    out.st[i] = r.status;
    out.level[i] = static_cast<int8_t>(orvalis::danger_level(r, l));
}

// True when the column holds one value for every point.
bool single(const column& c) {
    return c.step == 0;
}

} // namespace

// One site for all points, or each point's own site.
void evaluate_points(const point_in& in, std::size_t n, const point_out& out,
                     const orvalis::levels& l) {
    if (single(in.H) && single(in.B) && single(in.Vol) && single(in.S) && single(in.D)) {
        const orvalis::site s({in.H.at(0), in.B.at(0), in.Vol.at(0), in.S.at(0), in.D.at(0)});
        for (std::size_t i = 0; i < n; ++i) put(out, i, s.evaluate(in.x.at(i), in.y.at(i)), l);
        return;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const orvalis::site_params p{in.H.at(i), in.B.at(i), in.Vol.at(i), in.S.at(i), in.D.at(i)};
        put(out, i, orvalis::evaluate(p, in.x.at(i), in.y.at(i)), l);
    }
}

// Level of each grid point from its status, h and q.
void grid_levels(const orvalis::grid_out& g, std::size_t n, int8_t* level,
                 const orvalis::levels& l) {
    for (std::size_t k = 0; k < n; ++k) {
        const orvalis::result r{g.status[k], g.q[k], g.v[k], g.h[k], g.he[k]};
        level[k] = static_cast<int8_t>(orvalis::danger_level(r, l));
    }
}

// Level of each pair.
void danger_levels(column h, column q, std::size_t n, int8_t* level, const orvalis::levels& l) {
    for (std::size_t i = 0; i < n; ++i)
        level[i] = static_cast<int8_t>(orvalis::danger_level(h.at(i), q.at(i), l));
}

} // namespace orv::python
