// Pointwise evaluation for the scriptable tools.
#include "model/point.h"

#include <cmath>
#include <limits>

namespace orv {

// All four results NaN.
intensity no_result() {
    const real n = std::numeric_limits<real>::quiet_NaN();
    return {n, n, n, n};
}

point_result at_station(const site& s, const station& t, real y) {
    if (t.st != 0) return {t.st, no_result()};
    // One search of the profile tables for both profile factors.
    const real ay = std::fabs(y);
    return {0, make_result_scaled(s, t, ay, lateral_scale(s, ay))};
}

// Site stage given; the distance and lateral stages run here.
point_result evaluate(const site& s, real x, real y) {
    if (!downstream(x)) return {not_downstream, no_result()};
    return at_station(s, make_station(s, x), y);
}

// All three stages for one Parameter set.
point_result evaluate(const params& p) {
    return evaluate(make_site(p), p.x1, p.y1);
}

} // namespace orv
