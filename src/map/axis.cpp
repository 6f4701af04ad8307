// Cell counts and centres of a map axis.
#include "map/axis.h"

#include <cmath>

namespace orv::map {

// Counts in double; the tolerance keeps a range of exactly k cells at k.
std::optional<std::size_t> cell_count(double min, double max, double cell) {
    if (!(std::isfinite(min) && std::isfinite(max) && cell > 0 && std::isfinite(cell)))
        return std::nullopt;
    const double n = std::ceil((max - min) / cell - 1e-9);
    if (!(n >= 1 && n <= static_cast<double>(max_axis_cells))) return std::nullopt;
    return static_cast<std::size_t>(n);
}

// The axis and its count.
axis make_axis(double min, double max, double cell) {
    return {min, max, cell, cell_count(min, max, cell).value_or(0)};
}

// Each centre formed in double, then rounded once.
std::vector<real> centres(const axis& a) {
    std::vector<real> c(a.n);
    for (std::size_t i = 0; i < a.n; ++i) c[i] = static_cast<real>(a.centre(i));
    return c;
}

} // namespace orv::map
