// Checks of parameter values.
#include "model/params.h"

#include <cmath>

namespace orv {

const char* unusable(real v, bool positive) {
    if (!std::isfinite(v)) return "Wert muss endlich sein";
    if (positive && !(v > 0)) return "Wert muss groesser als 0 sein";
    return nullptr;
}

} // namespace orv
