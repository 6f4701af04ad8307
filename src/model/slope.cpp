// The slope check: one computation at 100 m on the centre line.
#include "model/slope.h"

#include "model/intensity.h"

namespace orv {

std::optional<slope_fault> slope_outside(const params& p) {
    params at = p;
    at.x1 = 100;
    at.y1 = 0;
    const intensity_outcome o = compute_intensity(at);
    if (o.st != 3 && o.st != 4) return std::nullopt;
    params c = p;
    correct_params(c, o);
    return slope_fault{o.st, c.slp};
}

} // namespace orv
