// One- and two-dimensional table lookups with a Lookup status.
#pragma once
#include <cstdint>

#include "base/real.h"

namespace orv {

// Linear interpolation in a Table of n ascending abscissae xt(1..n) with
// ordinates yt(1..n); never extrapolates. Returns the value unrounded.
double rmint(const int32_t& n, const real* xt, const real* yt, const real& xi, real& dydx,
             int32_t& ist);

// Bilinear interpolation on a Grid of nx1 x nx2 values stored column by
// column, with linear extrapolation on a fixed bracket outside it.
double rmint2(const int32_t& nx1, const int32_t& nx2, const real* xt1, const real* xt2,
              const real* grid, const real& xi1, const real& xi2, int32_t& ist);

} // namespace orv
