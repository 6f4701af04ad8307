// How far a feature's geometry lies from a point (the breach), in the site's metres.
#pragma once
#include <vector>

#include "assess/source.h"

namespace orv::assess {

// The smallest distance from p to the parts: to a point, to a line's
// segments, 0 inside a polygon (even-odd over its rings) else to its rings.
// Infinity for no parts.
double distance_to(const std::vector<part>& parts, xy p);

} // namespace orv::assess
