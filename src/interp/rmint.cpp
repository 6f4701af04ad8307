// Linear interpolation in a one-dimensional Table.
#include "interp/rmint.h"
#include "interp/bisect.h"

#include <cmath>
#include <limits>

namespace orv {

// Interpolates yt over the ascending abscissae xt at xi; a query outside the
// Table takes the end ordinate. ist: 0 inside, 1 single entry, 2 below,
// 3 above, 4 inside a Table with a descending pair. dydx is the slope used.
double rmint(const int32_t& n, const real* xt, const real* yt, const real& xi, real& dydx,
             int32_t& ist) {
    ist = 0;
    // An empty Table has nothing to read; report it like a single entry
    // instead of reading outside the arrays.
    if (n < 1) {
        dydx = 0;
        ist = 1;
        return std::numeric_limits<double>::quiet_NaN();
    }
    // The scan covers every pair so that any descending pair is reported.
    for (int32_t k = 1; k < n; ++k) {
        if (xt[k - 1] > xt[k]) ist = 4;
    }
    dydx = 0;
    if (n == 1) {
        ist = 1;
        return yt[0];
    }
    if (xt[0] > xi) {
        ist = 2;
        return yt[0];
    }
    if (xi > xt[n - 1]) {
        ist = 3;
        return yt[n - 1];
    }
    // Bisection on 1-based indices; equal or NaN queries move the lower index.
    int32_t ilo = 1;
    int32_t ihi = n;
    bisect(xt, xi, ilo, ihi);
    const double dx = static_cast<double>(xt[ihi - 1]) - xt[ilo - 1];
    // A segment narrower than 1e-10 keeps the slope at 0 and avoids the division.
    if (!(std::fabs(dx) < 1e-10f)) {
        dydx = static_cast<real>((static_cast<double>(yt[ihi - 1]) - yt[ilo - 1]) / dx);
    }
    // The stored (rounded) slope is what the value is computed with.
    return static_cast<double>(yt[ilo - 1]) +
           (static_cast<double>(xi) - xt[ilo - 1]) * static_cast<double>(dydx);
}

} // namespace orv
