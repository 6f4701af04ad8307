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

// Site stage given; the distance and lateral stages run here.
point_result evaluate(const site& s, real x, real y) {
    if (x <= 0) return {not_downstream, no_result()};
    const station t = make_station(s, x);
    if (t.st != 0) return {t.st, no_result()};
    return {0, make_result(s, t, std::fabs(y))};
}

// All three stages for one Parameter set.
point_result evaluate(const params& p) {
    return evaluate(make_site(p), p.x1, p.y1);
}

} // namespace orv
