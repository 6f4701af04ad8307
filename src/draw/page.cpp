// Page unit, margins and title of the pictures.
#include "draw/page.h"

#include <algorithm>

#include "draw/text.h"
#include "map/site_text.h"

namespace orv::draw {

page make_page(double width, double height) {
    const double u = std::clamp(std::min(width, height) / 55, 6.0, 60.0);
    return {width, height, u, u};
}

void draw_title(cairo_t* cr, const page& pg, const std::string& title, double size) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    const double w = pg.width - 2 * pg.margin;
    font(cr, size, true);
    const double tw = text_width(cr, title);
    if (tw > w && tw > 0) font(cr, size * w / tw, true);
    text(cr, pg.margin, pg.margin + 1.2 * pg.u, title);
}

std::string site_line(const params& p, bool corrected) {
    return map::site_text(p, charset::utf8, corrected ? " (korrigiert)" : "");
}

} // namespace orv::draw
