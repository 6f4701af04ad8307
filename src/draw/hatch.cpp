// Hatched zones.
#include "draw/hatch.h"

#include "draw/style.h"

namespace orv::draw {

// Diagonals rising to the right near the breach, falling beyond the tables.
void no_result_zone(cairo_t* cr, double x, double y, double w, double h, int32_t st, double d) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    set_colour(cr, st == 5 ? upstream_colour : no_result_ground);
    cairo_paint(cr);
    if (st != 5) {
        const bool rising = st == 1;
        for (double t = -h; t < w + d; t += d) {
            if (rising) {
                cairo_move_to(cr, x + t, y + h);
                cairo_line_to(cr, x + t + h, y);
            } else {
                cairo_move_to(cr, x + t, y);
                cairo_line_to(cr, x + t + h, y + h);
            }
        }
        set_colour(cr, hatch_colour);
        cairo_set_line_width(cr, d * 0.12);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

} // namespace orv::draw
