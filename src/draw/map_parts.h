// Parts of the map picture shared by its body and its legend: where the
// map lies on the page, the quantity's unit, the top of the colour scale.
#pragma once
#include <string>

#include <cairo.h>

#include "draw/map_picture.h"

namespace orv::draw {

// Where the map lies on the page: device position of the grid's lower
// left corner (ox, oy + mh), size mw x mh, scale s (units per metre).
struct frame {
    double ox, oy, mw, mh, s;
    double x0, y1; // the grid's x minimum and y maximum in metres
    double X(double x) const { return ox + (x - x0) * s; }
    double Y(double y) const { return oy + (y1 - y) * s; }
};

// The unit of a quantity for the colour bar ("q [m²/s]"); empty for the levels.
const char* quantity_unit(map::quantity q);

// The top of the colour scale: the 98th percentile of the shown values,
// rounded up; 1 when there are none.
double scale_top(const map::map_image& img);

// The map itself in frame f: image (values scaled to top), zones without a
// result, level boundaries, breach, frame with ticks and axis titles.
void draw_map_body(cairo_t* cr, const map_view& v, const frame& f, double u, double top);

// The legend at (x, y), w wide, down to bottom: zones or colour bar (clipped:
// values above top exist), zones without a result, breach, scale bar, cells.
void draw_legend(cairo_t* cr, const map_view& v, double x, double y, double w, double bottom,
                 double u, const frame& f, double top, bool clipped);

} // namespace orv::draw
