// One axis of a map grid: its range, cell size, cell count and cell centres.
#pragma once
#include <cstddef>
#include <optional>
#include <vector>

#include "model/params.h"

namespace orv::map {

// Most cells along one axis and in a whole grid (or raster).
inline constexpr std::size_t max_axis_cells = 100000;
inline constexpr std::size_t max_cells = 100000000;

// An axis from min to max in cells of size cell: n cells, centre i at
// min + (i + 0.5) * cell. The last cell may reach beyond max.
struct axis {
    double min = 0;
    double max = 0;
    double cell = 1;
    std::size_t n = 0;

    // Centre of cell i, in double.
    double centre(std::size_t i) const { return min + (static_cast<double>(i) + 0.5) * cell; }
    // Where the last cell ends: min + n * cell.
    double end() const { return min + static_cast<double>(n) * cell; }
};

// The cell count ceil((max - min) / cell - 1e-9), or nothing when it is not
// a whole number from 1 to max_axis_cells (max <= min, a count too large).
std::optional<std::size_t> cell_count(double min, double max, double cell);

// The axis from min to max with cells of size cell; n as cell_count gives it
// (0 when there is none).
axis make_axis(double min, double max, double cell);

// The centres of a as Reals, rounded from double.
std::vector<real> centres(const axis& a);

} // namespace orv::map
