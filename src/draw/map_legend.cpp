// Drawing the map's legend: levels or colour bar, the zones without a
// result, the breach, the scale bar and the cell size.
#include <algorithm>
#include <cmath>
#include <string>

#include "base/level_text.h"
#include "base/number_text.h"
#include "base/steps.h"
#include "draw/axes.h"
#include "draw/legend.h"
#include "draw/map_parts.h"
#include "draw/style.h"
#include "draw/text.h"

namespace orv::draw {

const char* quantity_unit(map::quantity q) {
    switch (q) {
    case map::quantity::q: return "q [m\u00b2/s]";
    case map::quantity::v: return "v [m/s]";
    case map::quantity::h: return "h [m]";
    case map::quantity::he: return "he [m]";
    default: return "";
    }
}

namespace {

// The sizes of this legend's rows.
constexpr legend_look look = {
    {0.85, 0.8, 1.6}, {0.72, 1.75, 2.5}, {0.8, 0.7, 2.6}, 1.7, 0.95, 2.0, false};

// The thresholds of levels 1 to 3 marked across the colour bar at bx, y
// (width bw, height bh, top value top), each numbered at its left.
void threshold_marks(cairo_t* cr, const levels& lv, double bx, double bw, double y, double bh,
                     double u, double top) {
    cairo_set_line_width(cr, std::max(1.0, 0.12 * u));
    for (int k = 0; k < 3; ++k) {
        const double t = lv.t[k];
        if (!(t <= top)) continue;
        const double ty = y + bh - t / top * bh;
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_move_to(cr, bx - 0.3 * u, ty);
        cairo_line_to(cr, bx + bw, ty);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        text(cr, bx - 0.5 * u, ty + 0.28 * u, std::to_string(k + 1), align::right);
    }
}

// The colour bar of the shown quantity with its ticks and, for q and h,
// the thresholds; returns the y below it.
double colour_bar(cairo_t* cr, const map_view& v, double x, double y, double u, double top,
                  double avail, bool clipped) {
    font(cr, 0.95 * u, true);
    cairo_set_source_rgb(cr, 0, 0, 0);
    text(cr, x, y + 0.9 * u, quantity_unit(v.shown));
    y += 1.8 * u;
    const double bx = x + 2.2 * u, bw = 1.5 * u;
    const double bh = std::clamp(avail, 5 * u, 14 * u);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y + bh, 0, y);
    for (int k = 0; k <= 32; ++k) {
        const rgb c = scale_colour(k / 32.0);
        cairo_pattern_add_color_stop_rgb(g, k / 32.0, c.r, c.g, c.b);
    }
    cairo_rectangle(cr, bx, y, bw, bh);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    if (clipped) {
        // Values above the top take its colour.
        set_colour(cr, scale_colour(1));
        cairo_move_to(cr, bx, y);
        cairo_line_to(cr, bx + bw / 2, y - 0.8 * u);
        cairo_line_to(cr, bx + bw, y);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, std::max(0.5, 0.05 * u));
    cairo_rectangle(cr, bx, y, bw, bh);
    cairo_stroke(cr);
    font(cr, 0.8 * u);
    const double step = tick_step(top, 5);
    for (double t : ticks(0, top, step)) {
        const double ty = y + bh - t / top * bh;
        cairo_move_to(cr, bx + bw, ty);
        cairo_line_to(cr, bx + bw + 0.3 * u, ty);
        cairo_stroke(cr);
        const bool last = t >= top * (1 - 1e-9);
        text(cr, bx + bw + 0.5 * u, ty + 0.28 * u,
             (last && clipped ? "\u2265 " : "") + picture_number(t, step_decimals(step)));
    }
    if (v.shown == map::quantity::q || v.shown == map::quantity::h)
        threshold_marks(cr, v.lv, bx, bw, y, bh, u, top);
    y += bh + 0.8 * u;
    if (v.shown == map::quantity::q || v.shown == map::quantity::h) {
        font(cr, 0.72 * u);
        text(cr, x, y + 0.6 * u, std::string("1, 2, 3: ") + thresholds_name);
        y += 1.3 * u;
    }
    return y;
}

// The line that marks the level boundaries over the colour bar; returns
// the y below it.
double boundary_row(cairo_t* cr, double x, double y, double u) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, std::max(1.2, 0.22 * u));
    cairo_move_to(cr, x, y + 0.5 * u);
    cairo_line_to(cr, x + 1.7 * u, y + 0.5 * u);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, std::max(0.5, 0.09 * u));
    cairo_stroke(cr);
    font(cr, 0.85 * u);
    text(cr, x + 2.3 * u, y + 0.8 * u, "Grenzen der Gefahrenstufen");
    return y + 1.6 * u;
}

// Scale bar: a readable length that fits the legend's width w; returns
// the y below it.
double scale_bar(cairo_t* cr, double x, double y, double w, double u, const frame& f) {
    const double len = round_down_readable(0.8 * (w - 3 * u) / f.s);
    const double bl = len * f.s;
    font(cr, 0.85 * u);
    text(cr, x, y + 0.8 * u, "Massstab");
    y += 1.4 * u;
    cairo_set_line_width(cr, std::max(0.5, 0.05 * u));
    cairo_rectangle(cr, x, y, bl / 2, 0.45 * u);
    cairo_fill(cr);
    cairo_rectangle(cr, x + bl / 2, y, bl / 2, 0.45 * u);
    cairo_stroke(cr);
    cairo_rectangle(cr, x, y, bl, 0.45 * u);
    cairo_stroke(cr);
    font(cr, 0.75 * u);
    text(cr, x, y + 1.4 * u, "0", align::centre);
    text(cr, x + bl, y + 1.4 * u, picture_number(len, step_decimals(len)) + " m", align::centre);
    return y + 2.4 * u;
}

} // namespace

// The legend: zones or colour bar, the zones without a result and their
// warning, the breach, the scale bar and the cell size.
void draw_legend(cairo_t* cr, const map_view& v, double x, double y, double w, double bottom,
                 double u, const frame& f, double top, bool clipped) {
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    if (v.shown == map::quantity::levels) {
        y = level_rows(cr, look, x, y, u, v.lv, 1);
    } else {
        const double avail = bottom - y - 22 * u;
        y = colour_bar(cr, v, x, y, u, top, avail, clipped);
        y = boundary_row(cr, x, y, u);
    }
    y += 0.6 * u;
    const bool upstream =
        std::find(v.column_status.begin(), v.column_status.end(), 5) != v.column_status.end();
    y = no_result_rows(cr, look, x, y, u, upstream);
    y = breach_row(cr, look, x, y, u);
    y = scale_bar(cr, x, y, w, u, f);
    text(cr, x, y, cells_line(picture_number(v.x.cell, step_decimals(v.x.cell)), v.x.n, v.y.n));
    cairo_restore(cr);
}

} // namespace orv::draw
