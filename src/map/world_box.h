// The part of the world a map picture shows: the computed extent turned
// into the world, joined with what else must be seen, padded and widened
// to the picture's shape.
#pragma once
#include "map/axis.h"
#include "map/frame.h"

namespace orv::map {

// A north-up rectangle in world coordinates; empty while e0 > e1.
struct world_box {
    double e0 = 1, n0 = 1, e1 = 0, n1 = 0;

    bool empty() const { return !(e0 <= e1 && n0 <= n1); }
    double width() const { return e1 - e0; }
    double height() const { return n1 - n0; }
    // Grows the box to hold (e, n).
    void add(double e, double n);
    // Grows the box to hold b.
    void add(const world_box& b);
};

// The world point of the jet point (x, y): the inverse of to_jet.
void to_world(const georef& g, double x, double y, double& e, double& n);

// The bounding box of the rotated rectangle x from x.min to x.end(), y
// from y.min to y.end(): the cells the map computed, turned into the world.
world_box computed_box(const georef& g, const axis& x, const axis& y);

// b with 5 % of its size added on each side, then widened evenly in one
// direction so that width / height equals aspect. A box without size
// gets one metre each way first.
world_box fit_box(world_box b, double aspect);

} // namespace orv::map
