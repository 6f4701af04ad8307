// Drawing a profile.
#include "draw/profile_picture.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/level_text.h"
#include "base/number_text.h"
#include "base/steps.h"
#include "draw/axes.h"
#include "draw/hatch.h"
#include "draw/page.h"
#include "draw/style.h"
#include "draw/text.h"

namespace orv::draw {

namespace {

// One panel: its quantity, label, and whether the thresholds apply.
struct panel {
    real intensity::*field;
    const char* label;
    bool thresholds;
};

constexpr panel panels[4] = {
    {&intensity::q, "q [m\u00b2/s]", true},
    {&intensity::v, "v [m/s]", false},
    {&intensity::h, "h [m]", true},
    {&intensity::he, "he [m]", false},
};

// The page position of x and of a value in a panel.
struct scales {
    double left, width, x0, x1;
    double X(double x) const { return left + (x - x0) / (x1 - x0) * width; }
};

// The runs of samples without a result as x ranges, each with its status.
template <class F> void each_gap(const profile_view& v, const F& fn) {
    const double half = v.step / 2;
    for (std::size_t i = 0; i < v.st.size();) {
        std::size_t k = i;
        while (k + 1 < v.st.size() && v.st[k + 1] == v.st[i]) ++k;
        if (v.st[i] != 0) fn(v.xs[i] - half, v.xs[k] + half, v.st[i]);
        i = k + 1;
    }
}

// The largest value of a panel's quantity (and its thresholds), rounded up.
double panel_top(const profile_view& v, const panel& p) {
    double hi = 0;
    for (std::size_t k = 0; k < v.res.size(); ++k)
        if (v.st[k] == 0 && std::isfinite(v.res[k].*p.field))
            hi = std::max(hi, static_cast<double>(v.res[k].*p.field));
    if (p.thresholds) hi = std::max(hi, static_cast<double>(v.lv.t[2]) * 1.05);
    return round_up_readable(hi);
}

// One panel from top to top + h.
void draw_panel(cairo_t* cr, const profile_view& v, const panel& p, const scales& sx, double top,
                double h, double u, bool last) {
    const double vmax = panel_top(v, p);
    auto Y = [&](double val) { return top + h - val / vmax * h; };
    cairo_save(cr);
    cairo_rectangle(cr, sx.left, top, sx.width, h);
    cairo_clip(cr);
    each_gap(v, [&](double a, double b, int32_t st) {
        const double xa = std::max(sx.X(a), sx.left), xb = std::min(sx.X(b), sx.left + sx.width);
        if (xb > xa) no_result_zone(cr, xa, top, xb - xa, h, st, 0.5 * u);
    });
    // Faint grid.
    const double ys = tick_step(vmax, std::max(2, static_cast<int>(h / (1.6 * u))));
    const double xs = tick_step(sx.x1 - sx.x0, std::max(2, static_cast<int>(sx.width / (5.5 * u))));
    cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
    cairo_set_line_width(cr, std::max(0.4, 0.04 * u));
    for (double t : ticks(0, vmax, ys)) {
        cairo_move_to(cr, sx.left, Y(t));
        cairo_line_to(cr, sx.left + sx.width, Y(t));
    }
    for (double t : ticks(sx.x0, sx.x1, xs)) {
        cairo_move_to(cr, sx.X(t), top);
        cairo_line_to(cr, sx.X(t), top + h);
    }
    cairo_stroke(cr);
    if (p.thresholds) {
        const double dash = 0.5 * u;
        cairo_set_dash(cr, &dash, 1, 0);
        cairo_set_line_width(cr, std::max(0.6, 0.08 * u));
        font(cr, 0.75 * u);
        // Labels from the top down at the right end of their lines.
        std::vector<double> ys, ws;
        std::vector<std::string> texts;
        for (int k = 2; k >= 0; --k) {
            const double ty = Y(v.lv.t[k]);
            cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
            cairo_move_to(cr, sx.left, ty);
            cairo_line_to(cr, sx.left + sx.width, ty);
            cairo_stroke(cr);
            texts.push_back(level_name(k + 1) + " ab " + plain(v.lv.t[k]));
            ys.push_back(ty);
            ws.push_back(text_width(cr, texts.back()));
        }
        const auto ends = label_ends(ys, ws, sx.left + sx.width - 0.4 * u, 0.95 * u, 0.8 * u);
        for (std::size_t k = 0; k < texts.size(); ++k)
            halo_text(cr, ends[k], ys[k] - 0.25 * u, texts[k], align::right);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
    // The curve, broken where there is no result.
    cairo_set_source_rgb(cr, 0.05, 0.2, 0.55);
    cairo_set_line_width(cr, std::max(0.8, 0.14 * u));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    bool pen = false;
    for (std::size_t k = 0; k < v.xs.size(); ++k) {
        const double val = v.res[k].*p.field;
        if (v.st[k] != 0 || !std::isfinite(val)) {
            pen = false;
            continue;
        }
        if (pen)
            cairo_line_to(cr, sx.X(v.xs[k]), Y(val));
        else
            cairo_move_to(cr, sx.X(v.xs[k]), Y(val));
        pen = true;
    }
    cairo_stroke(cr);
    cairo_restore(cr);
    // Frame, ticks and labels.
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, std::max(0.6, 0.07 * u));
    cairo_rectangle(cr, sx.left, top, sx.width, h);
    font(cr, 0.8 * u);
    for (double t : ticks(0, vmax, ys)) {
        cairo_move_to(cr, sx.left, Y(t));
        cairo_line_to(cr, sx.left - 0.3 * u, Y(t));
        text(cr, sx.left - 0.45 * u, Y(t) + 0.28 * u, picture_number(t, step_decimals(ys)),
             align::right);
    }
    for (double t : ticks(sx.x0, sx.x1, xs)) {
        cairo_move_to(cr, sx.X(t), top + h);
        cairo_line_to(cr, sx.X(t), top + h + 0.3 * u);
        if (last)
            text(cr, sx.X(t), top + h + 1.2 * u, picture_number(t, step_decimals(xs)),
                 align::centre);
    }
    cairo_stroke(cr);
    font(cr, 0.9 * u);
    text_up(cr, sx.left - 4.2 * u, top + h / 2, p.label);
}

// The key under the title: the two hatchings and the warning.
void draw_key(cairo_t* cr, double x, double y, double u) {
    font(cr, 0.8 * u);
    for (int32_t st : {1, 2}) {
        no_result_zone(cr, x, y - 0.8 * u, 1.6 * u, 1.0 * u, st, 0.45 * u);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_line_width(cr, std::max(0.5, 0.05 * u));
        cairo_rectangle(cr, x, y - 0.8 * u, 1.6 * u, 1.0 * u);
        cairo_stroke(cr);
        const std::string s = no_result_label(st) + ": nicht berechnet";
        text(cr, x + 2.1 * u, y, s);
        x += 2.1 * u + text_width(cr, s) + 1.2 * u;
    }
    const double dash = 0.4 * u;
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_set_line_width(cr, std::max(0.6, 0.08 * u));
    cairo_set_dash(cr, &dash, 1, 0);
    cairo_move_to(cr, x, y - 0.3 * u);
    cairo_line_to(cr, x + 1.6 * u, y - 0.3 * u);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_set_source_rgb(cr, 0, 0, 0);
    const std::string s = thresholds_name;
    text(cr, x + 2.1 * u, y, s);
    x += 2.1 * u + text_width(cr, s) + 1.2 * u;
    font(cr, 0.8 * u, true);
    text(cr, x, y, not_computed_warning(charset::utf8));
}

} // namespace

std::vector<double> label_ends(const std::vector<double>& y, const std::vector<double>& w,
                               double right, double near, double gap) {
    std::vector<double> ends;
    double above = -1e300, left = right;
    for (std::size_t k = 0; k < y.size(); ++k) {
        const double end = y[k] - above < near ? left - gap : right;
        ends.push_back(end);
        left = end - w[k];
        above = y[k];
    }
    return ends;
}

// Title and key, then the four panels sharing the x axis.
void draw_profile(cairo_t* cr, double width, double height, const profile_view& v) {
    const page pg = make_page(width, height);
    const double u = pg.u;
    const double m = pg.margin;
    draw_title(cr, pg,
               "L\u00e4ngsprofil bei y = " + plain(v.site.y1) +
                   " m: " + site_line(v.site, v.corrected),
               1.2 * u);
    draw_key(cr, m + 2 * u, m + 2.9 * u, u);
    const double top = m + 4.0 * u;
    const double bottom = height - m - 2.8 * u;
    const double gap = 0.7 * u;
    const double ph = (bottom - top - 3 * gap) / 4;
    double x0 = v.xs.empty() ? 0 : v.xs.front() - v.step / 2;
    double x1 = v.xs.empty() ? 1 : v.xs.back() + v.step / 2;
    if (!(x1 > x0)) x1 = x0 + 1;
    const scales sx{m + 6 * u, width - 2 * m - 6 * u, x0, x1};
    for (int k = 0; k < 4; ++k)
        draw_panel(cr, v, panels[k], sx, top + k * (ph + gap), ph, u, k == 3);
    font(cr, 0.9 * u);
    cairo_set_source_rgb(cr, 0, 0, 0);
    text(cr, sx.left + sx.width / 2, height - m - 0.2 * u, "x entlang des Strahls [m]",
         align::centre);
}

} // namespace orv::draw
