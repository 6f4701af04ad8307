// The automatic extent and cell size of a map, chosen from the site.
#pragma once
#include <optional>

#include "map/axis.h"
#include "model/stages.h"

namespace orv::map {

// Where the centre line lies inside the tables: near is the smallest x
// (a Real) with a result, far the smallest x beyond the tables (status 2).
struct table_range {
    double near;
    double far;
};

// The table range of site s, or nothing when the distances do not pass
// through the tables (a degenerate site).
std::optional<table_range> find_table_range(const site& s);

// The widest lateral extent of the jet (where both profiles reach 0) over
// 2048 stations from x0 to x1 that have a result; 0 when none has.
double jet_half_width(const site& s, double x0, double x1);

// A range MIN:MAX as given on the command line.
struct range {
    double min;
    double max;
};

// What the command line fixed of the grid; the rest is chosen.
struct grid_request {
    std::optional<range> x, y;
    std::optional<double> cell;
};

// A map's two axes.
struct map_grid {
    axis x, y;
};

// Length of the automatic x range beyond the end of the tables, as a share
// of it (maps and profiles).
inline constexpr double far_margin = 0.03;

// Cells along the longer side of an automatic grid.
inline constexpr double auto_cells = 500;

// The grid: x from 0 to 3 % (at least two cells) beyond the end of the
// tables, so the zone beyond them shows; y symmetric out
// to 1.1 times the widest jet, the cell a readable size that gives the
// longer side about 500 cells; automatic ranges end on whole cells. Parts
// given in r are kept. Nothing when a part must be chosen and the site has
// no table range. The axes' counts are 0 where there would be too many cells.
std::optional<map_grid> choose_grid(const site& s, const grid_request& r);

} // namespace orv::map
