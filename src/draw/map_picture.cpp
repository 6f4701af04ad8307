// Drawing a danger map.
#include "draw/map_picture.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "draw/axes.h"
#include "draw/hatch.h"
#include "draw/style.h"
#include "draw/text.h"
#include "map/summary.h"

namespace orv::draw {

namespace {

// Where the map lies on the page: device position of the grid's lower
// left corner (ox, oy + mh), size mw x mh, scale s (units per metre).
struct frame {
    double ox, oy, mw, mh, s;
    double x0, y1; // the grid's x minimum and y maximum in metres
    double X(double x) const { return ox + (x - x0) * s; }
    double Y(double y) const { return oy + (y1 - y) * s; }
};

// Name and unit of a quantity.
const char* quantity_name(map::quantity q) {
    switch (q) {
    case map::quantity::q: return "Spezifischer Abfluss q";
    case map::quantity::v: return "Fliessgeschwindigkeit v";
    case map::quantity::h: return "Abflusstiefe h";
    case map::quantity::he: return "Energieh\u00f6he he";
    default: return "Gefahrenkarte";
    }
}
const char* quantity_unit(map::quantity q) {
    switch (q) {
    case map::quantity::q: return "q [m\u00b2/s]";
    case map::quantity::v: return "v [m/s]";
    case map::quantity::h: return "h [m]";
    case map::quantity::he: return "he [m]";
    default: return "";
    }
}

// The largest font size up to size at which s fits into width w.
void fit_font(cairo_t* cr, const std::string& s, double w, double size, bool bold) {
    font(cr, size, bold);
    const double tw = text_width(cr, s);
    if (tw > w && tw > 0) font(cr, size * w / tw, bold);
}

// The top of the colour scale: the 98th percentile of the shown values,
// rounded up; 1 when there are none.
double scale_top(const map::map_image& img) {
    std::vector<float> v;
    for (float f : img.value)
        if (std::isfinite(f)) v.push_back(f);
    if (v.empty()) return 1;
    const auto k = static_cast<std::ptrdiff_t>((v.size() - 1) * 98 / 100);
    std::nth_element(v.begin(), v.begin() + k, v.end());
    return round_up(std::max(static_cast<double>(v[k]), 1e-6));
}

// The image of zones or values as an ARGB32 surface, top row first.
cairo_surface_t* make_image(const map_view& v, double top) {
    const map::map_image& img = *v.image;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(img.w),
                                                    static_cast<int>(img.h));
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    if (!data) return s;
    const int stride = cairo_image_surface_get_stride(s);
    uint32_t zone[4] = {0, pixel(level_colour(1)), pixel(level_colour(2)), pixel(level_colour(3))};
    for (std::size_t j = 0; j < img.h; ++j) {
        auto* row = reinterpret_cast<uint32_t*>(data + (img.h - 1 - j) * stride);
        for (std::size_t i = 0; i < img.w; ++i) {
            const std::size_t p = j * img.w + i;
            if (v.shown == map::quantity::levels) {
                const int lv = img.level[p];
                row[i] = lv >= 1 && lv <= 3 ? zone[lv] : 0;
            } else {
                const float f = img.value[p];
                row[i] = std::isfinite(f) ? pixel(scale_colour(f / top)) : 0;
            }
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

// Paints the image over the grid's extent: cells sharp in vector files and
// when enlarged, smoothed when a screen image shrinks them.
void paint_image(cairo_t* cr, const map_view& v, const frame& f, double top) {
    const map::map_image& img = *v.image;
    if (img.w == 0 || img.h == 0) return;
    cairo_surface_t* s = make_image(v, top);
    const double px = static_cast<double>(img.factor) * v.x.cell * f.s;
    const bool screen = cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE;
    cairo_save(cr);
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_clip(cr);
    cairo_translate(cr, f.ox, f.oy + f.mh - static_cast<double>(img.h) * px);
    cairo_scale(cr, px, px);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr),
                             screen && px < 1 ? CAIRO_FILTER_GOOD : CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(s);
}

// The zones without a result: runs of columns with one status.
void paint_no_result(cairo_t* cr, const map_view& v, const frame& f, double u) {
    const auto& col = v.column_status;
    const double half = v.x.cell / 2;
    cairo_save(cr);
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_clip(cr);
    for (std::size_t i = 0; i < col.size();) {
        std::size_t k = i;
        while (k + 1 < col.size() && col[k + 1] == col[i]) ++k;
        if (col[i] != 0) {
            const double a = f.X(v.x.centre(i) - half);
            const double b = f.X(v.x.centre(k) + half);
            no_result_zone(cr, a, f.oy, b - a, f.mh, col[i], 0.55 * u);
        }
        i = k + 1;
    }
    cairo_restore(cr);
}

// The lines between pixels of different levels (both with a level), each
// run along a row or column of pixel edges as one segment.
void trace_boundaries(cairo_t* cr, const map_view& v, const frame& f) {
    const map::map_image& img = *v.image;
    const double step = static_cast<double>(img.factor) * v.x.cell;
    auto lv = [&](std::size_t i, std::size_t j) { return img.level[j * img.w + i]; };
    auto differ = [](int a, int b) { return a >= 0 && b >= 0 && a != b; };
    auto ex = [&](std::size_t i) { return f.X(v.x.min + static_cast<double>(i) * step); };
    auto ey = [&](std::size_t j) { return f.Y(v.y.min + static_cast<double>(j) * step); };
    // Vertical edges between columns i - 1 and i, running up the rows.
    for (std::size_t i = 1; i < img.w; ++i) {
        for (std::size_t j = 0; j < img.h;) {
            if (!differ(lv(i - 1, j), lv(i, j))) {
                ++j;
                continue;
            }
            std::size_t k = j;
            while (k < img.h && differ(lv(i - 1, k), lv(i, k))) ++k;
            cairo_move_to(cr, ex(i), ey(j));
            cairo_line_to(cr, ex(i), ey(k));
            j = k;
        }
    }
    // Horizontal edges between rows j - 1 and j, running along the columns.
    for (std::size_t j = 1; j < img.h; ++j) {
        for (std::size_t i = 0; i < img.w;) {
            if (!differ(lv(i, j - 1), lv(i, j))) {
                ++i;
                continue;
            }
            std::size_t k = i;
            while (k < img.w && differ(lv(k, j - 1), lv(k, j))) ++k;
            cairo_move_to(cr, ex(i), ey(j));
            cairo_line_to(cr, ex(k), ey(j));
            i = k;
        }
    }
}

// Level boundaries: dark lines on the zones, black on white over values.
void draw_boundaries(cairo_t* cr, const map_view& v, const frame& f, double u) {
    cairo_save(cr);
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_clip(cr);
    trace_boundaries(cr, v, f);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    if (v.shown == map::quantity::levels) {
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        cairo_set_line_width(cr, std::max(0.5, 0.07 * u));
        cairo_stroke(cr);
    } else {
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, std::max(1.0, 0.16 * u));
        cairo_stroke_preserve(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_line_width(cr, std::max(0.4, 0.06 * u));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

// The breach: a bar of width B across the jet at x = 0, and its name.
void draw_breach(cairo_t* cr, const map_view& v, const frame& f, double u) {
    if (!(v.x.min <= 0 && 0 <= v.x.end())) return;
    const double b = v.site.b / 2.0;
    const double lo = std::max(-b, v.y.min), hi = std::min(b, v.y.end());
    if (!(lo <= hi)) return;
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0.05, 0.15, 0.55);
    cairo_set_line_width(cr, 0.45 * u);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_move_to(cr, f.X(0), f.Y(lo));
    cairo_line_to(cr, f.X(0), f.Y(hi));
    cairo_stroke(cr);
    font(cr, 0.9 * u, true);
    halo_text(cr, f.X(0) + 0.5 * u, f.Y(hi) - 0.35 * u, "Bresche");
    cairo_restore(cr);
}

// Frame, ticks in metres on both axes and the axis titles.
void draw_axes(cairo_t* cr, const map_view& v, const frame& f, double u) {
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, std::max(0.6, 0.08 * u));
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_stroke(cr);
    font(cr, 0.85 * u);
    const double xs =
        tick_step(v.x.end() - v.x.min, std::max(2, static_cast<int>(f.mw / (5.5 * u))));
    const double ys =
        tick_step(v.y.end() - v.y.min, std::max(2, static_cast<int>(f.mh / (2.8 * u))));
    double widest = 0;
    for (double t : ticks(v.x.min, v.x.end(), xs)) {
        cairo_move_to(cr, f.X(t), f.oy + f.mh);
        cairo_line_to(cr, f.X(t), f.oy + f.mh + 0.35 * u);
        text(cr, f.X(t), f.oy + f.mh + 1.3 * u, number(t, step_decimals(xs)), align::centre);
    }
    for (double t : ticks(v.y.min, v.y.end(), ys)) {
        cairo_move_to(cr, f.ox, f.Y(t));
        cairo_line_to(cr, f.ox - 0.35 * u, f.Y(t));
        const std::string s = number(t, step_decimals(ys));
        widest = std::max(widest, text_width(cr, s));
        text(cr, f.ox - 0.5 * u, f.Y(t) + 0.3 * u, s, align::right);
    }
    cairo_stroke(cr);
    font(cr, 0.9 * u);
    text(cr, f.ox + f.mw / 2, f.oy + f.mh + 2.6 * u, "x entlang des Strahls [m]", align::centre);
    text_up(cr, f.ox - widest - 1.1 * u, f.oy + f.mh / 2, "y quer zum Strahl [m], + links");
    cairo_restore(cr);
}

// One legend row: a swatch drawn by fill at (x, y) of size w x h, and text.
template <class F>
double legend_row(cairo_t* cr, double x, double y, double u, const std::string& label,
                  const std::string& detail, const F& fill) {
    const double w = 1.7 * u, h = 1.1 * u;
    fill(x, y, w, h);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, std::max(0.5, 0.05 * u));
    cairo_rectangle(cr, x, y, w, h);
    cairo_stroke(cr);
    font(cr, 0.85 * u);
    text(cr, x + w + 0.6 * u, y + 0.8 * u, label);
    if (detail.empty()) return y + 1.6 * u;
    font(cr, 0.72 * u);
    text(cr, x + w + 0.6 * u, y + 1.75 * u, detail);
    return y + 2.5 * u;
}

// "h > 0.5 m oder q > 0.5 m²/s".
std::string rule(real t) {
    const std::string s = map::plain(t);
    return "h > " + s + " m oder q > " + s + " m\u00b2/s";
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
             (last && clipped ? "\u2265 " : "") + number(t, step_decimals(step)));
    }
    if (v.shown == map::quantity::q || v.shown == map::quantity::h) {
        cairo_set_line_width(cr, std::max(1.0, 0.12 * u));
        for (int k = 0; k < 3; ++k) {
            const double t = v.lv.t[k];
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
    y += bh + 0.8 * u;
    if (v.shown == map::quantity::q || v.shown == map::quantity::h) {
        font(cr, 0.72 * u);
        text(cr, x, y + 0.6 * u, "1, 2, 3: Schwellen der Gefahrenstufen");
        y += 1.3 * u;
    }
    return y;
}

// The legend: zones or colour bar, the zones without a result and their
// warning, the breach, the scale bar and the cell size.
void draw_legend(cairo_t* cr, const map_view& v, double x, double y, double w, double bottom,
                 double u, const frame& f, double top, bool clipped) {
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    if (v.shown == map::quantity::levels) {
        font(cr, 0.95 * u, true);
        text(cr, x, y + 0.9 * u, "Gefahrenstufen");
        y += 1.6 * u;
        for (int k = 3; k >= 1; --k) {
            y = legend_row(cr, x, y, u, "Stufe " + std::to_string(k), rule(v.lv.t[k - 1]),
                           [&](double a, double b, double c, double d) {
                               set_colour(cr, level_colour(k));
                               cairo_rectangle(cr, a, b, c, d);
                               cairo_fill(cr);
                           });
        }
        y = legend_row(cr, x, y, u, "Stufe 0", "darunter", [](double, double, double, double) {});
    } else {
        const double avail = bottom - y - 22 * u;
        y = colour_bar(cr, v, x, y, u, top, avail, clipped);
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
        y += 1.6 * u;
    }
    y += 0.6 * u;
    font(cr, 0.95 * u, true);
    cairo_set_source_rgb(cr, 0, 0, 0);
    text(cr, x, y + 0.9 * u, "Nicht berechnet");
    y += 1.6 * u;
    bool upstream = false;
    for (int32_t s : v.column_status) upstream = upstream || s == 5;
    for (int32_t st : {1, 2, 5}) {
        if (st == 5 && !upstream) continue;
        y = legend_row(cr, x, y, u, no_result_label(st), "",
                       [&](double a, double b, double c, double d) {
                           no_result_zone(cr, a, b, c, d, st, 0.45 * u);
                       });
    }
    font(cr, 0.8 * u, true);
    cairo_set_source_rgb(cr, 0, 0, 0);
    text(cr, x, y + 0.7 * u, "\u201eNicht berechnet\u201c heisst nicht");
    text(cr, x, y + 1.7 * u, "\u201ekeine Gefahr\u201c.");
    y += 2.6 * u;
    // The breach.
    cairo_set_source_rgb(cr, 0.05, 0.15, 0.55);
    cairo_set_line_width(cr, 0.45 * u);
    cairo_move_to(cr, x + 0.85 * u, y);
    cairo_line_to(cr, x + 0.85 * u, y + 1.1 * u);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    font(cr, 0.85 * u);
    text(cr, x + 2.3 * u, y + 0.8 * u, "Bresche (Breite B)");
    y += 2.0 * u;
    // Scale bar: a readable length that fits the legend's width.
    const double len = round_down(0.8 * (w - 3 * u) / f.s);
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
    text(cr, x + bl, y + 1.4 * u, number(len, step_decimals(len)) + " m", align::centre);
    y += 2.4 * u;
    text(cr, x, y,
         "Zellgr\u00f6sse " + number(v.x.cell, step_decimals(v.x.cell)) + " m, " +
             std::to_string(v.x.n) + " \u00d7 " + std::to_string(v.y.n) + " Zellen");
    cairo_restore(cr);
}

// The objects turned from the world into the jet's frame: x = dE sin a +
// dN cos a, y = dN sin a - dE cos a, then onto the page.
void draw_jet_objects(cairo_t* cr, const map_view& v, const frame& f, double u) {
    const double a = v.g.azimuth * (M_PI / 180);
    const double sa = std::sin(a), ca = std::cos(a);
    cairo_matrix_t to_jet, to_page, m;
    cairo_matrix_init(&to_jet, sa, -ca, ca, sa, -(v.g.e0 * sa + v.g.n0 * ca),
                      v.g.e0 * ca - v.g.n0 * sa);
    cairo_matrix_init(&to_page, f.s, 0, 0, -f.s, f.ox - f.x0 * f.s, f.oy + f.y1 * f.s);
    cairo_matrix_multiply(&m, &to_jet, &to_page);
    cairo_save(cr);
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_clip(cr);
    draw_objects(cr, m, *v.objects, u);
    const double clip[4] = {f.ox, f.oy, f.mw, f.mh};
    draw_labels(cr, m, *v.objects, v.label_from, u, clip);
    cairo_restore(cr);
}

} // namespace

std::string map_title(const map_view& v) {
    const params& p = v.site;
    return std::string(quantity_name(v.shown)) + ": H = " + map::plain(p.h) +
           " m, B = " + map::plain(p.b) + " m, Vol = " + map::plain(p.vol) +
           " m\u00b3, S = " + map::plain(p.slp) + " %" + (v.corrected ? " (korrigiert)" : "") +
           ", D = " + map::plain(p.dm) + " m";
}

// Title, map with equal scale on both axes, legend at the right.
void draw_map(cairo_t* cr, double width, double height, const map_view& v) {
    const double u = std::clamp(std::min(width, height) / 55, 6.0, 60.0);
    const double m = u;
    cairo_set_source_rgb(cr, 0, 0, 0);
    const std::string title = map_title(v);
    fit_font(cr, title, width - 2 * m, 1.25 * u, true);
    text(cr, m, m + 1.2 * u, title);
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
    paint_image(cr, v, f, scale);
    paint_no_result(cr, v, f, u);
    draw_boundaries(cr, v, f, u);
    draw_breach(cr, v, f, u);
    if (v.objects) draw_jet_objects(cr, v, f, u);
    draw_axes(cr, v, f, u);
    draw_legend(cr, v, legend_x, top, legend_w, height - m, u, f, scale, clipped);
}

} // namespace orv::draw
