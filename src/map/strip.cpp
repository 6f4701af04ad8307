// Strip-wise computation of map grids and rotated rasters.
#include "map/strip.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv::map {

namespace {

// The levels of a computed strip.
void add_levels(strip& b, const levels& lv) {
    const std::size_t n = b.rows * b.nx;
    for (std::size_t k = 0; k < n; ++k)
        b.level[k] =
            static_cast<int8_t>(danger_level(b.st[k], {b.q[k], b.v[k], b.h[k], b.he[k]}, lv));
}

// Hands b to every sink; false when one fails.
bool hand_on(const strip& b, const std::vector<strip_sink*>& sinks) {
    for (strip_sink* k : sinks)
        if (!k->take(b)) return false;
    return true;
}

} // namespace

void strip::resize(std::size_t r, std::size_t n) {
    rows = r;
    nx = n;
    for (auto* a : {&q, &v, &h, &he}) a->resize(r * n);
    st.resize(r * n);
    level.resize(r * n);
}

grid_out strip::out() {
    return {q.data(), v.data(), h.data(), he.data(), st.data()};
}

std::size_t strip_rows(std::size_t nx) {
    return std::max<std::size_t>(1, strip_cells / std::max<std::size_t>(1, nx));
}

std::vector<station> column_stations(const site& s, const std::vector<real>& xs, unsigned threads) {
    std::vector<station> st(xs.size());
    make_stations(s, xs.data(), xs.size(), st.data(), threads);
    return st;
}

// Row bands in ascending order through evaluate_rows.
bool compute_grid(const site& s, const std::vector<station>& st, const std::vector<real>& ys,
                  const levels& lv, unsigned threads, const std::vector<strip_sink*>& sinks) {
    const std::size_t nx = st.size();
    const std::size_t ny = ys.size();
    const std::size_t band = strip_rows(nx);
    strip b;
    for (std::size_t j0 = 0; j0 < ny; j0 += band) {
        b.resize(std::min(band, ny - j0), nx);
        b.j0 = j0;
        evaluate_rows(s, st.data(), nx, ys.data() + j0, b.rows, b.out(), threads);
        add_levels(b, lv);
        if (!hand_on(b, sinks)) return false;
    }
    return true;
}

// Each world cell centre to the jet frame in double; inside cells are
// rounded to Reals and computed as a list of points.
bool compute_world(const site& s, const axis& x, const axis& y, const georef& g,
                   const world_raster& w, const levels& lv, unsigned threads,
                   const std::vector<strip_sink*>& sinks) {
    const std::size_t band = strip_rows(w.nx);
    const real nan = std::numeric_limits<real>::quiet_NaN();
    strip b;
    std::vector<real> px, py;
    std::vector<std::size_t> at;
    strip pts;
    const jet_turn turn = prepare_turn(g);
    for (std::size_t j0 = 0; j0 < w.ny; j0 += band) {
        b.resize(std::min(band, w.ny - j0), w.nx);
        b.j0 = j0;
        px.clear(), py.clear(), at.clear();
        for (std::size_t r = 0; r < b.rows; ++r) {
            const double n = w.north(j0 + r);
            for (std::size_t i = 0; i < w.nx; ++i) {
                const jet_point p = to_jet(turn, w.east(i), n);
                if (!inside(p, x, y)) continue;
                px.push_back(static_cast<real>(p.x));
                py.push_back(static_cast<real>(std::fabs(p.y)));
                at.push_back(r * w.nx + i);
            }
        }
        std::fill(b.q.begin(), b.q.end(), nan);
        std::fill(b.v.begin(), b.v.end(), nan);
        std::fill(b.h.begin(), b.h.end(), nan);
        std::fill(b.he.begin(), b.he.end(), nan);
        std::fill(b.st.begin(), b.st.end(), -1);
        pts.resize(1, px.size());
        evaluate_points(s, px.data(), py.data(), px.size(), pts.out(), threads);
        for (std::size_t k = 0; k < at.size(); ++k) {
            b.q[at[k]] = pts.q[k], b.v[at[k]] = pts.v[k], b.h[at[k]] = pts.h[k];
            b.he[at[k]] = pts.he[k], b.st[at[k]] = pts.st[k];
        }
        add_levels(b, lv);
        if (!hand_on(b, sinks)) return false;
    }
    return true;
}

} // namespace orv::map
