// Text drawing with cairo's simple font interface.
#include "draw/text.h"

#include <cmath>

namespace orv::draw {

namespace {

// The x where text of width w starts for alignment a at x.
double start(double x, double w, align a) {
    return a == align::left ? x : a == align::centre ? x - w / 2 : x - w;
}

} // namespace

void font(cairo_t* cr, double size, bool bold) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double text_width(cairo_t* cr, const std::string& s) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    return e.x_advance;
}

void text(cairo_t* cr, double x, double y, const std::string& s, align a) {
    cairo_move_to(cr, start(x, text_width(cr, s), a), y);
    cairo_show_text(cr, s.c_str());
}

// The outline stroked wide in white, then the text itself in black over
// it: a PDF keeps the text searchable and copyable.
void halo_text(cairo_t* cr, double x, double y, const std::string& s, align a) {
    cairo_save(cr);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    const double x0 = start(x, text_width(cr, s), a);
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y);
    cairo_text_path(cr, s.c_str());
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, fe.height * 0.18);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_move_to(cr, x0, y);
    cairo_show_text(cr, s.c_str());
    cairo_new_path(cr);
    cairo_restore(cr);
}

void text_up(cairo_t* cr, double x, double y, const std::string& s) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, -M_PI / 2);
    text(cr, 0, 0, s, align::centre);
    cairo_restore(cr);
}

} // namespace orv::draw
