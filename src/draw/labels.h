// Placing the labels of a map: each beside its anchor where it covers no
// other label and no mark of the map (the breach, the jet's arrow, the
// north arrow, the scale bar), and off the road lines where there is room.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include <cairo.h>

#include "draw/objects.h"

namespace orv::draw {

// A rectangle on the page.
struct page_box {
    double x0, y0, x1, y1;
    bool overlaps(const page_box& b) const {
        return x0 < b.x1 && b.x0 < x1 && y0 < b.y1 && b.y0 < y1;
    }
};

// A straight stroke on the page from (x0, y0) to (x1, y1), half its width
// to either side.
struct stroke {
    double x0, y0, x1, y1, half = 0;
};

// Whether the stroke s touches the box b.
bool touches(const stroke& s, const page_box& b);

// One label to be placed: its anchor on the page, its text's size, and
// what ranks it (level descending, then depth descending, then order).
struct label_wish {
    double x, y, w, h;
    int level;
    double depth;
};

// Where labels may go: inside the map area, never over a mark, off the
// lines where there is room, gap away from the anchor.
struct label_room {
    page_box inside;
    std::vector<stroke> marks;
    std::vector<page_box> mark_boxes;
    std::vector<stroke> lines;
    double gap = 0;
};

// The box of each wish, in the wishes' order, or nothing where none of the
// eight spots around its anchor, in three rings farther out, is free. Wishes are served by rank, so an
// endangered object's label is placed before a level-0 one.
std::vector<std::optional<page_box>> place_labels(const std::vector<label_wish>& wishes,
                                                  const label_room& room);

// Draws the labels of the objects at level >= from whose anchor lies on
// the map, with the world-to-page matrix m inside room (its lines are
// filled from the objects' lines); returns the texts that found no place,
// by rank.
std::vector<std::string> draw_labels(cairo_t* cr, const cairo_matrix_t& m,
                                     const std::vector<map_object>& objects, int from, double u,
                                     label_room room);

} // namespace orv::draw
