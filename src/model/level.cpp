// Danger levels.
#include "model/level.h"

#include <cmath>

namespace orv {

// Level of one result; NaN in h or q, or a status, gives no level.
int danger_level(int32_t st, const intensity& r, const levels& l) {
    const double h = r.h;
    const double q = r.q;
    if (st != 0 || std::isnan(h) || std::isnan(q)) return no_level;
    for (int k = 3; k >= 1; --k) {
        const double t = l.t[k - 1];
        if (h > t || q > t) return k;
    }
    return 0;
}

// Thresholds usable for danger_level.
bool valid_levels(const levels& l) {
    for (int k = 0; k < 3; ++k) {
        if (!std::isfinite(l.t[k]) || !(l.t[k] > 0)) return false;
        if (k > 0 && !(l.t[k] > l.t[k - 1])) return false;
    }
    return true;
}

} // namespace orv
