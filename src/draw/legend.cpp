// Drawing the legend rows both map pictures share.
#include "draw/legend.h"

#include <algorithm>

#include "base/level_text.h"
#include "draw/hatch.h"
#include "draw/style.h"
#include "draw/text.h"

namespace orv::draw {

// The fill runs inside save and restore: whatever it sets (colour, clip)
// stays with the swatch.
double legend_row(cairo_t* cr, const legend_look& l, double x, double y, double u,
                  const std::string& label, const std::string& detail, const swatch_fill& fill) {
    const double w = 1.7 * u, h = 1.1 * u;
    cairo_save(cr);
    fill(x, y, w, h);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, std::max(0.5, 0.05 * u));
    cairo_rectangle(cr, x, y, w, h);
    cairo_stroke(cr);
    font(cr, l.label.size * u);
    text(cr, x + w + 0.6 * u, y + l.label.dy * u, label);
    if (detail.empty()) return y + l.label.step * u;
    font(cr, l.detail.size * u);
    text(cr, x + w + 0.6 * u, y + l.detail.dy * u, detail);
    return y + l.detail.step * u;
}

double legend_heading(cairo_t* cr, const legend_look& l, double x, double y, double u,
                      const std::string& s) {
    cairo_set_source_rgb(cr, 0, 0, 0);
    font(cr, l.heading_size * u, true);
    text(cr, x, y + 0.9 * u, s);
    return y + 1.6 * u;
}

double level_rows(cairo_t* cr, const legend_look& l, double x, double y, double u, const levels& lv,
                  double opacity) {
    y = legend_heading(cr, l, x, y, u, levels_heading);
    for (int k = 3; k >= 1; --k) {
        y = legend_row(cr, l, x, y, u, level_name(k), level_rule(lv.t[k - 1], charset::utf8),
                       [&](double a, double b, double c, double d) {
                           set_colour(cr, level_colour(k), opacity);
                           cairo_rectangle(cr, a, b, c, d);
                           cairo_fill(cr);
                       });
    }
    const std::string below = "darunter";
    const auto none = [](double, double, double, double) {};
    if (l.below_inline)
        return legend_row(cr, l, x, y, u, level_name(0) + " (" + below + ")", "", none);
    return legend_row(cr, l, x, y, u, level_name(0), below, none);
}

double no_result_rows(cairo_t* cr, const legend_look& l, double x, double y, double u,
                      bool upstream) {
    y = legend_heading(cr, l, x, y, u, not_computed);
    for (int32_t st : {1, 2, 5}) {
        if (st == 5 && !upstream) continue;
        y = legend_row(cr, l, x, y, u, no_result_label(st), "",
                       [&](double a, double b, double c, double d) {
                           no_result_zone(cr, a, b, c, d, st, 0.45 * u);
                       });
    }
    font(cr, l.warning.size * u, true);
    cairo_set_source_rgb(cr, 0, 0, 0);
    text(cr, x, y + l.warning.dy * u, not_computed_lines[0]);
    text(cr, x, y + l.warning_next * u, not_computed_lines[1]);
    return y + l.warning.step * u;
}

double breach_row(cairo_t* cr, const legend_look& l, double x, double y, double u) {
    set_colour(cr, breach_colour);
    cairo_set_line_width(cr, 0.45 * u);
    cairo_move_to(cr, x + 0.85 * u, y);
    cairo_line_to(cr, x + 0.85 * u, y + 1.1 * u);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    font(cr, l.label.size * u);
    text(cr, x + 2.3 * u, y + l.label.dy * u, "Bresche (Breite B)");
    return y + l.breach_step * u;
}

std::string cells_line(const std::string& cell, std::size_t nx, std::size_t ny) {
    return "Zellgr\u00f6sse " + cell + " m, " + std::to_string(nx) + " \u00d7 " +
           std::to_string(ny) + " Zellen";
}

} // namespace orv::draw
