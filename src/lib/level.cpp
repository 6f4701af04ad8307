// The public danger levels over the model's.
#include "orvalis/orvalis.h"

#include <limits>

#include "model/level.h"

namespace orvalis {

namespace {

// The model's form of thresholds l.
orv::levels model_levels(const levels& l) {
    return {{l.t[0], l.t[1], l.t[2]}};
}

} // namespace

// Usable thresholds.
bool valid(const levels& l) {
    return orv::valid_levels(model_levels(l));
}

// Level of a result with its status.
int danger_level(const result& r, const levels& l) {
    return orv::danger_level(r.status, {r.q, r.v, r.h, r.he}, model_levels(l));
}

// Level of a flow depth and a specific discharge; only h and q take part.
int danger_level(float h, float q, const levels& l) {
    const float n = std::numeric_limits<float>::quiet_NaN();
    return orv::danger_level(ok, {q, n, h, n}, model_levels(l));
}

} // namespace orvalis
