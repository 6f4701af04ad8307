// Danger levels of a result, from its flow depth and specific discharge.
#pragma once
#include <cstdint>

#include "model/stages.h"

namespace orv {

// The three thresholds, ascending; each holds for h in m and q in m2/s.
struct levels {
    real t[3] = {0.5f, 1.0f, 2.0f};
};

// No level: a result with a warning status or a NaN in h or q.
inline constexpr int no_level = -1;

// The level 0 to 3 of result r with status st: the highest k for which h or
// q exceeds threshold k, compared in double; no_level when there is none.
int danger_level(int32_t st, const intensity& r, const levels& l = {});

// True when the three thresholds are finite, positive and strictly ascending.
bool valid_levels(const levels& l);

} // namespace orv
