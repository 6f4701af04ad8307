// Bisection shared by the table and grid lookups.
#pragma once
#include "interp/rmint.h"

namespace orv {

// Bisects the 1-based index range [lo, hi] of the axis xt for xi until the
// indices are neighbours; equal or NaN queries move the lower index.
inline void bisect(const real* xt, const real& xi, int32_t& lo, int32_t& hi) {
    while (hi - lo > 1) {
        const int32_t mid = (lo + hi) / 2;
        if (xt[mid - 1] > xi)
            hi = mid;
        else
            lo = mid;
    }
}

} // namespace orv
