// The marking of zones without a result: a light ground with hatching whose
// direction tells near the breach from beyond the tables.
#pragma once
#include <cstdint>

#include <cairo.h>

namespace orv::draw {

// Fills the rectangle for a zone of status st (1 near the breach, 2 to 4
// beyond the tables, 5 above the breach) at hatch spacing d.
void no_result_zone(cairo_t* cr, double x, double y, double w, double h, int32_t st, double d);

} // namespace orv::draw
