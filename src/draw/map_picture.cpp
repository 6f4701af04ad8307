// Drawing a danger map: the title, the map and its legend laid out on the page.
#include "draw/map_picture.h"

#include <algorithm>
#include <string>

#include "draw/map_parts.h"
#include "draw/page.h"

namespace orv::draw {

namespace {

// Name of a quantity, for the title.
const char* quantity_name(map::quantity q) {
    switch (q) {
    case map::quantity::q: return "Spezifischer Abfluss q";
    case map::quantity::v: return "Flie\u00dfgeschwindigkeit v";
    case map::quantity::h: return "Abflusstiefe h";
    case map::quantity::he: return "Energieh\u00f6he he";
    default: return "Gefahrenkarte";
    }
}

} // namespace

std::string map_title(const map_view& v) {
    return std::string(quantity_name(v.shown)) + ": " + site_line(v.site, v.corrected);
}

// Title, map with equal scale on both axes, legend at the right.
void draw_map(cairo_t* cr, double width, double height, const map_view& v) {
    const page pg = make_page(width, height);
    const double u = pg.u;
    const double m = pg.margin;
    draw_title(cr, pg, map_title(v), 1.25 * u);
    const double legend_w = std::min(17.0 * u, 0.4 * width);
    const double axis_w = 5.5 * u, gap = 2.0 * u;
    const double left = m + axis_w;
    const double right = width - m - legend_w - gap;
    const double top = m + 2.8 * u;
    const double bottom = height - m - 3.3 * u;
    const double ew = v.x.end() - v.x.min, eh = v.y.end() - v.y.min;
    frame f{};
    f.s = std::min((right - left) / ew, (bottom - top) / eh);
    f.mw = ew * f.s;
    f.mh = eh * f.s;
    // Map and legend side by side, the pair centred across the page.
    f.ox = std::max(m, (width - (axis_w + f.mw + gap + legend_w)) / 2) + axis_w;
    f.oy = top + (bottom - top - f.mh) / 2;
    const double legend_x = f.ox + f.mw + gap;
    f.x0 = v.x.min;
    f.y1 = v.y.end();
    const double scale = v.shown == map::quantity::levels ? 1 : scale_top(*v.image);
    bool clipped = false;
    for (float x : v.image->value) clipped = clipped || x > scale;
    draw_map_body(cr, v, f, u, scale);
    draw_legend(cr, v, legend_x, top, legend_w, height - m, u, f, scale, clipped);
}

} // namespace orv::draw
