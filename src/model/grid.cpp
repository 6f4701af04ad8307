// Grid evaluation by the stages of the model.
#include "model/grid.h"

#include <cmath>

#include "model/point.h"

namespace orv {

namespace {

// Writes one point's outcome to index k of out.
void put(const grid_out& out, std::size_t k, int32_t st, const intensity& r) {
    out.q[k] = r.q;
    out.v[k] = r.v;
    out.h[k] = r.h;
    out.he[k] = r.he;
    out.st[k] = st;
}

} // namespace

// Column by column: the distance stage once per x, the lateral stage per y.
void evaluate_grid(const site& s, const real* xs, std::size_t nx, const real* ys, std::size_t ny,
                   const grid_out& out, unsigned threads) {
    (void)threads;
    const intensity none = no_result();
    for (std::size_t i = 0; i < nx; ++i) {
        const real x = xs[i];
        // A NaN x is not <= 0: it runs through the model as in evaluate().
        if (x <= 0) {
            for (std::size_t j = 0; j < ny; ++j) put(out, j * nx + i, not_downstream, none);
            continue;
        }
        const station t = make_station(s, x);
        for (std::size_t j = 0; j < ny; ++j) {
            if (t.st != 0)
                put(out, j * nx + i, t.st, none);
            else
                put(out, j * nx + i, 0, make_result(s, t, std::fabs(ys[j])));
        }
    }
}

} // namespace orv
