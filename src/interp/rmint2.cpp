// Bilinear interpolation on a two-dimensional Grid.
#include "interp/bisect.h"
#include "interp/rmint.h"

namespace orv {

// Interpolates the column-major Grid over the axes xt1 (rows) and xt2
// (columns) at (xi1, xi2). Outside the Grid the formula runs on a fixed
// bracket, extrapolating linearly. ist: 0 inside, 1/2 below/above axis 1,
// 3/4 below/above axis 2; an axis-2 code hides an axis-1 code.
double rmint2(const int32_t& nx1, const int32_t& nx2, const real* xt1, const real* xt2,
              const real* grid, const real& xi1, const real& xi2, int32_t& ist) {
    int32_t st = 0;
    int32_t ilo1 = 1;
    int32_t ihi1 = nx1;
    int32_t ilo2 = 1;
    int32_t ihi2 = nx2;
    if (xt1[0] > xi1) {
        st = 1;
        ihi1 = 2;
    }
    if (xi1 > xt1[ihi1 - 1]) {
        st = 2;
        ilo1 = ihi1 - 1;
    }
    if (xt2[0] > xi2) {
        st = 3;
        ihi2 = 2;
    }
    ist = st;
    if (xi2 > xt2[ihi2 - 1]) {
        ist = 4;
        ilo2 = ihi2 - 1;
    } else if (st == 0) {
        // Both queries inside (or NaN): find the cell on each axis.
        bisect(xt1, xi1, ilo1, ihi1);
        bisect(xt2, xi2, ilo2, ihi2);
    }
    const int32_t s = nx1 < 0 ? 0 : nx1;
    auto g = [&](int32_t i, int32_t j) -> double { return grid[(i - 1) + (j - 1) * s]; };
    // Offsets and their complements within the bracket, in wide precision.
    const double dx1 = static_cast<double>(xt1[ihi1 - 1]) - xt1[ilo1 - 1];
    const double tx1 = static_cast<double>(xi1) - xt1[ilo1 - 1];
    const double ux1 = dx1 - tx1;
    const double dx2 = static_cast<double>(xt2[ihi2 - 1]) - xt2[ilo2 - 1];
    const double tx2 = static_cast<double>(xi2) - xt2[ilo2 - 1];
    const double ux2 = dx2 - tx2;
    // The grouping is fixed so that results do not depend on the compiler.
    return ((((ux1 * g(ilo1, ilo2)) * ux2 + (tx1 * g(ihi1, ilo2)) * ux2) +
             (ux1 * g(ilo1, ihi2)) * tx2) +
            (tx1 * g(ihi1, ihi2)) * tx2) /
           (dx1 * dx2);
}

} // namespace orv
