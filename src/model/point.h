// A point below the breach as the scriptable tools compute it.
#pragma once
#include <cstdint>

#include "model/stages.h"

namespace orv {

// Status of a point that does not lie downstream of the breach (x <= 0);
// the model is not run for it. Statuses 0 to 4 are those of the discharge lookup.
inline constexpr int32_t not_downstream = 5;

// A point's status and, when the status is 0, its results (else NaN).
struct point_result {
    int32_t st;
    intensity res;
};

// The four results of a point without a result: all NaN.
intensity no_result();

// False when x <= 0: the point does not lie downstream of the breach and
// the model is not run for it. A NaN goes to the model, which gives it
// the status of its discharge lookup.
inline bool downstream(real x) {
    return !(x <= 0);
}

// The lateral stage at y beside station t of site s: the station's status,
// and when it is 0 the result at |y|, bit for bit make_result.
point_result at_station(const site& s, const station& t, real y);

// Computes the point (x, y) of site s. The method is symmetric about the
// jet's axis, so it runs at (x, |y|); x <= 0 gives status 5.
point_result evaluate(const site& s, real x, real y);

// The same for a whole Parameter set.
point_result evaluate(const params& p);

} // namespace orv
