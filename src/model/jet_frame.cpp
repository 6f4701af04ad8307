// World and jet coordinates.
#include "model/jet_frame.h"

#include <cmath>
#include <numbers>

namespace orv {

jet_point to_jet(const world_frame& g, double e, double n) {
    const double a = g.azimuth * (std::numbers::pi / 180);
    const double de = e - g.e0;
    const double dn = n - g.n0;
    return {de * std::sin(a) + dn * std::cos(a), dn * std::sin(a) - de * std::cos(a)};
}

} // namespace orv
