// World and jet coordinates.
#include "model/jet_frame.h"

#include <cmath>
#include <numbers>

namespace orv {

jet_turn prepare_turn(const world_frame& g) {
    const double a = g.azimuth * (std::numbers::pi / 180);
    return {g.e0, g.n0, std::sin(a), std::cos(a)};
}

jet_point to_jet(const world_frame& g, double e, double n) {
    return to_jet(prepare_turn(g), e, n);
}

jet_point to_jet(const jet_turn& t, double e, double n) {
    const double de = e - t.e0;
    const double dn = n - t.n0;
    return {de * t.sin_a + dn * t.cos_a, dn * t.sin_a - de * t.cos_a};
}

} // namespace orv
