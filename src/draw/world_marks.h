// The marks an overview adds to a world map: the detail map's extent as a
// frame and the end of the tables as a line across the jet, with their
// legend rows; and the marks labels keep off.
#pragma once
#include <vector>

#include <cairo.h>

#include "draw/labels.h"
#include "draw/world_map.h"

namespace orv::draw {

// The detail map's box as a frame, and the tables' end as a dashed line
// from one side of the computed extent to the other.
void draw_overview_marks(cairo_t* cr, const world_frame& f, const world_view& v, double u);

// Their legend rows at (x, y), only of the marks v has; returns the y
// below them.
double overview_rows(cairo_t* cr, double x, double y, double u, const world_view& v);

// The breach bar and the jet's arrow as strokes on the page, half as wide
// as drawn plus a little room; labels never cover them.
std::vector<stroke> jet_strokes(const world_frame& f, const world_view& v, double u);

// The overview's lines as strokes on the page: labels avoid them where
// there is room.
std::vector<stroke> overview_strokes(const world_frame& f, const world_view& v, double u);

// The jet's arrow: from 0.4 units past the breach to len, its head beyond
// it, in page units u at scale s.
struct jet_arrow {
    double start, len, head;
};
jet_arrow arrow_of(const world_frame& f, double u);

} // namespace orv::draw
