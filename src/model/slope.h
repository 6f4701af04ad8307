// A site's slope outside the classes of the tables, and its corrected value.
#pragma once
#include <cstdint>
#include <optional>

#include "model/params.h"

namespace orv {

// Why a slope is refused: status 3 (too small) or 4 (too large), and the
// slope the calculator corrects it to.
struct slope_fault {
    int32_t st;
    real corrected;
};

// The fault of p's slope when it lies outside the tables' classes (every
// distance then gives status 3 or 4); nullopt when it lies inside.
std::optional<slope_fault> slope_outside(const params& p);

} // namespace orv
