// The jet's frame in world coordinates: the breach's position and the jet's
// direction, and a world point turned into the jet's (x, y).
#pragma once

namespace orv {

// The breach at (e0, n0) and the jet's direction in degrees clockwise from north.
struct world_frame {
    double e0 = 0;
    double n0 = 0;
    double azimuth = 0;
};

// A point in the jet's frame: x along the jet, y to its left.
struct jet_point {
    double x;
    double y;
};

// A world frame with the sine and cosine of its azimuth taken once, for
// turning many points: what depends on the frame alone.
struct jet_turn {
    double e0 = 0;
    double n0 = 0;
    double sin_a = 0;
    double cos_a = 1;
};

// The turn of frame g.
jet_turn prepare_turn(const world_frame& g);

// The world point (e, n) in the jet's frame, in double: a = azimuth in
// radians, x = dE sin a + dN cos a, y = dN sin a - dE cos a.
jet_point to_jet(const world_frame& g, double e, double n);

// The same with the turn prepared: bit for bit to_jet(g, e, n).
jet_point to_jet(const jet_turn& t, double e, double n);

} // namespace orv
