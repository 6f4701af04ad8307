// Drawing a danger map north up in world coordinates.
#include "draw/world_map.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/number_text.h"
#include "base/steps.h"
#include "draw/axes.h"
#include "draw/hatch.h"
#include "draw/legend.h"
#include "draw/style.h"
#include "draw/text.h"
#include "map/summary.h"

namespace orv::draw {

namespace {

// Width of the legend beside the map and the gap between them.
double legend_width(double width, double u) {
    return std::min(15.5 * u, 0.34 * width);
}

// The levels as an ARGB32 surface, top row (highest y) first; cells below
// level 1 and without a level transparent.
cairo_surface_t* level_surface(const map::map_image& img) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(img.w),
                                                    static_cast<int>(img.h));
    cairo_surface_flush(s);
    unsigned char* data = cairo_image_surface_get_data(s);
    if (!data) return s;
    const int stride = cairo_image_surface_get_stride(s);
    const uint32_t zone[4] = {0, pixel(level_colour(1)), pixel(level_colour(2)),
                              pixel(level_colour(3))};
    for (std::size_t j = 0; j < img.h; ++j) {
        auto* row = reinterpret_cast<uint32_t*>(data + (img.h - 1 - j) * stride);
        for (std::size_t i = 0; i < img.w; ++i) {
            const int lv = img.level[j * img.w + i];
            row[i] = lv >= 1 && lv <= 3 ? zone[lv] : 0;
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

// Clips to the map area and, under the jet's matrix, to the computed extent.
void clip_to_extent(cairo_t* cr, const world_frame& f, const world_view& v) {
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_clip(cr);
    const cairo_matrix_t jm = jet_matrix(f, v.g);
    cairo_transform(cr, &jm);
    const map::axis& x = v.jet.x;
    const map::axis& y = v.jet.y;
    cairo_rectangle(cr, x.min, y.min, x.end() - x.min, y.end() - y.min);
    cairo_clip(cr);
}

// The zones, and the columns without a result hatched, both inside the
// computed (rotated) extent only; at the view's opacity as one layer.
void paint_zones(cairo_t* cr, const world_frame& f, const world_view& v, double u) {
    const map::map_image& img = *v.jet.image;
    cairo_save(cr);
    cairo_push_group(cr);
    clip_to_extent(cr, f, v);
    if (img.w && img.h) {
        const double step = static_cast<double>(img.factor) * v.jet.x.cell;
        cairo_surface_t* s = level_surface(img);
        cairo_save(cr);
        cairo_translate(cr, v.jet.x.min, v.jet.y.min + static_cast<double>(img.h) * step);
        cairo_scale(cr, step, -step);
        cairo_set_source_surface(cr, s, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_surface_destroy(s);
    }
    // Hatch spacing in metres, so that it reads like the jet frame's.
    const auto& col = v.jet.column_status;
    const double half = v.jet.x.cell / 2, d = 0.55 * u / f.s;
    for (std::size_t i = 0; i < col.size();) {
        std::size_t k = i;
        while (k + 1 < col.size() && col[k + 1] == col[i]) ++k;
        if (col[i] != 0) {
            const double a = v.jet.x.centre(i) - half, b = v.jet.x.centre(k) + half;
            no_result_zone(cr, a, v.jet.y.min, b - a, v.jet.y.end() - v.jet.y.min, col[i], d);
        }
        i = k + 1;
    }
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, v.opacity);
    cairo_restore(cr);
}

// The background image stretched over the map area.
void paint_background(cairo_t* cr, const world_frame& f, const background& bg) {
    if (bg.w <= 0 || bg.h <= 0) return;
    cairo_surface_t* s = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(bg.px.data())), CAIRO_FORMAT_ARGB32,
        bg.w, bg.h, bg.w * 4);
    cairo_save(cr);
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_clip(cr);
    cairo_translate(cr, f.ox, f.oy);
    cairo_scale(cr, f.mw / bg.w, f.mh / bg.h);
    cairo_set_source_surface(cr, s, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(s);
}

// A path along the jet's frame: from jet (x0, y0) to (x1, y1), in page units.
void jet_segment(cairo_t* cr, const cairo_matrix_t& jm, double x0, double y0, double x1,
                 double y1) {
    cairo_matrix_transform_point(&jm, &x0, &y0);
    cairo_matrix_transform_point(&jm, &x1, &y1);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
}

// The breach as a bar of width B across the jet and an arrow along it.
void draw_jet(cairo_t* cr, const world_frame& f, const world_view& v, double u) {
    const cairo_matrix_t jm = jet_matrix(f, v.g);
    const double b = v.jet.site.b / 2.0;
    cairo_save(cr);
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_clip(cr);
    set_colour(cr, breach_colour);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    cairo_set_line_width(cr, 0.45 * u);
    jet_segment(cr, jm, 0, -b, 0, b);
    cairo_stroke(cr);
    // The jet's direction: an arrow from the breach, 3.5 units long.
    const double len = 3.5 * u / f.s, head = 0.9 * u / f.s;
    cairo_set_line_width(cr, 0.18 * u);
    jet_segment(cr, jm, 0.4 * u / f.s, 0, len, 0);
    cairo_stroke(cr);
    double tip[2] = {len + head, 0}, l[2] = {len, 0.5 * head}, r[2] = {len, -0.5 * head};
    for (double* p : {tip, l, r}) cairo_matrix_transform_point(&jm, &p[0], &p[1]);
    cairo_move_to(cr, tip[0], tip[1]);
    cairo_line_to(cr, l[0], l[1]);
    cairo_line_to(cr, r[0], r[1]);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

// The light coordinate grid, the frame and the labels of eastings below
// and northings at the left, reading upwards.
void draw_grid(cairo_t* cr, const world_frame& f, double u) {
    const map::world_box& b = f.box;
    const double step = tick_step(b.width(), std::max(2, static_cast<int>(f.mw / (7.5 * u))));
    const int d = step_decimals(step);
    cairo_save(cr);
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_clip(cr);
    for (double e : ticks(b.e0, b.e1, step)) {
        cairo_move_to(cr, f.X(e), f.oy);
        cairo_line_to(cr, f.X(e), f.oy + f.mh);
    }
    for (double n : ticks(b.n0, b.n1, step)) {
        cairo_move_to(cr, f.ox, f.Y(n));
        cairo_line_to(cr, f.ox + f.mw, f.Y(n));
    }
    cairo_set_source_rgba(cr, 0.3, 0.3, 0.3, 0.45);
    cairo_set_line_width(cr, std::max(0.4, 0.05 * u));
    cairo_stroke(cr);
    cairo_restore(cr);

    cairo_save(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, std::max(0.6, 0.08 * u));
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_stroke(cr);
    font(cr, 0.75 * u);
    for (double e : ticks(b.e0, b.e1, step))
        text(cr, f.X(e), f.oy + f.mh + 1.1 * u, grouped(e, d), align::centre);
    for (double n : ticks(b.n0, b.n1, step)) text_up(cr, f.ox - 0.45 * u, f.Y(n), grouped(n, d));
    cairo_restore(cr);
}

// A scale bar in the map's lower left corner on a white ground.
void scale_bar(cairo_t* cr, const world_frame& f, double u) {
    const double len = round_down_readable(0.22 * f.mw / f.s);
    const double bl = len * f.s;
    const double x = f.ox + 1.2 * u, y = f.oy + f.mh - 1.6 * u;
    const std::string end = grouped(len, step_decimals(len)) + " m";
    cairo_save(cr);
    font(cr, 0.75 * u);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    cairo_rectangle(cr, x - 0.8 * u, y - 2.0 * u, bl + 1.6 * u + text_width(cr, end) / 2, 2.9 * u);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, std::max(0.5, 0.05 * u));
    cairo_rectangle(cr, x, y, bl / 2, 0.4 * u);
    cairo_fill(cr);
    cairo_rectangle(cr, x, y, bl, 0.4 * u);
    cairo_stroke(cr);
    text(cr, x, y - 0.4 * u, "0", align::centre);
    text(cr, x + bl, y - 0.4 * u, end, align::centre);
    cairo_restore(cr);
}

// The sizes of this legend's rows.
constexpr legend_look look = {
    {0.8, 0.85, 1.55}, {0.68, 1.7, 2.45}, {0.72, 0.6, 2.4}, 1.5, 0.9, 1.6, true};

// The objects' fills, partly computed (hatched level 1) and not computed
// (grey), the worst points' marker when marked, and how many labels found
// no place; returns the y below them.
double object_rows(cairo_t* cr, double x, double y, double u, std::size_t dropped, bool marked) {
    y = legend_heading(cr, look, x, y, u, "Objekte");
    y = legend_row(cr, look, x, y, u, "teilweise berechnet", "",
                   [&](double a, double b, double c, double d) {
                       set_colour(cr, level_colour(1));
                       cairo_rectangle(cr, a, b, c, d);
                       cairo_clip_preserve(cr);
                       cairo_fill(cr);
                       for (double t = a - d; t < a + c; t += 0.4 * u) {
                           cairo_move_to(cr, t, b + d);
                           cairo_line_to(cr, t + d, b);
                       }
                       cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
                       cairo_set_line_width(cr, 0.07 * u);
                       cairo_stroke(cr);
                   });
    y = legend_row(cr, look, x, y, u, "nicht berechnet", "",
                   [&](double a, double b, double c, double d) {
                       cairo_set_source_rgb(cr, 0.72, 0.72, 0.72);
                       cairo_rectangle(cr, a, b, c, d);
                       cairo_fill(cr);
                   });
    if (marked) {
        y = legend_row(cr, look, x, y, u, "schlimmster Punkt", "h\u00f6chste Stufe des Objekts",
                       [&](double a, double b, double c, double d) {
                           cairo_set_source_rgb(cr, 1, 1, 1);
                           cairo_rectangle(cr, a, b, c, d);
                           cairo_fill(cr);
                           worst_marker(cr, a + c / 2, b + d / 2, u);
                       });
    }
    if (dropped > 0) {
        font(cr, 0.72 * u);
        text(cr, x, y + 0.6 * u,
             std::to_string(dropped) + (dropped == 1 ? " Beschriftung" : " Beschriftungen") +
                 " ohne Platz");
        y += 1.4 * u;
    }
    return y + 0.4 * u;
}

// The jet's direction: a short arrow and its name; returns the y below it.
double direction_row(cairo_t* cr, double x, double y, double u) {
    set_colour(cr, breach_colour);
    cairo_set_line_width(cr, 0.18 * u);
    cairo_move_to(cr, x, y + 0.55 * u);
    cairo_line_to(cr, x + 1.2 * u, y + 0.55 * u);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 1.7 * u, y + 0.55 * u);
    cairo_line_to(cr, x + 1.1 * u, y + 0.25 * u);
    cairo_line_to(cr, x + 1.1 * u, y + 0.85 * u);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    font(cr, look.label.size * u);
    text(cr, x + 2.3 * u, y + 0.85 * u, "Richtung des Strahls");
    return y + 2.0 * u;
}

// The legend: levels, the zones without a result, the objects' fills (and
// the worst points' marker when marked), the breach and the jet's
// direction, the coordinate system and the cells.
void draw_legend(cairo_t* cr, const world_view& v, double x, double y, double u,
                 std::size_t dropped, bool marked) {
    cairo_save(cr);
    y = level_rows(cr, look, x, y, u, v.jet.lv, v.opacity);
    y += 0.5 * u;
    y = no_result_rows(cr, look, x, y, u, false);
    if (v.objects && !v.objects->empty()) y = object_rows(cr, x, y, u, dropped, marked);
    y = breach_row(cr, look, x, y, u);
    y = direction_row(cr, x, y, u);
    font(cr, 0.72 * u);
    if (!v.crs_name.empty()) {
        text(cr, x, y, v.crs_name);
        y += 1.1 * u;
    }
    text(cr, x, y, cells_line(orv::plain(static_cast<real>(v.jet.x.cell)), v.jet.x.n, v.jet.y.n));
    cairo_restore(cr);
}

} // namespace

double unit_of(double width, double height) {
    return std::clamp(std::min(width, height) / 55, 6.0, 60.0);
}

world_frame place_world(double width, double height, const map::world_box& want) {
    const double u = unit_of(width, height);
    world_frame f;
    const double left = u + 2.2 * u, top = u + 2.8 * u;
    const double right = width - u - legend_width(width, u) - 1.5 * u;
    const double bottom = height - u - 2.0 * u;
    f.ox = left, f.oy = top;
    f.mw = std::max(1.0, right - left), f.mh = std::max(1.0, bottom - top);
    f.box = map::fit_box(want, f.mw / f.mh);
    f.s = f.mw / f.box.width();
    return f;
}

cairo_matrix_t world_matrix(const world_frame& f) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, f.s, 0, 0, -f.s, f.ox - f.box.e0 * f.s, f.oy + f.box.n1 * f.s);
    return m;
}

// e = e0 + x sin a - y cos a and n = n0 + x cos a + y sin a, then the
// world matrix.
cairo_matrix_t jet_matrix(const world_frame& f, const map::georef& g) {
    const double a = g.azimuth * (std::numbers::pi / 180);
    const double s = std::sin(a), c = std::cos(a);
    cairo_matrix_t jet;
    cairo_matrix_init(&jet, s, c, -c, s, g.e0, g.n0);
    const cairo_matrix_t w = world_matrix(f);
    cairo_matrix_t m;
    cairo_matrix_multiply(&m, &jet, &w);
    return m;
}

void north_arrow(cairo_t* cr, double x, double y, double size) {
    cairo_save(cr);
    const double w = 0.32 * size;
    cairo_move_to(cr, x, y);
    cairo_line_to(cr, x + w, y + 0.7 * size);
    cairo_line_to(cr, x, y + 0.55 * size);
    cairo_line_to(cr, x - w, y + 0.7 * size);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 0.12 * size);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_fill(cr);
    font(cr, 0.36 * size, true);
    halo_text(cr, x, y + size, "N", align::centre);
    cairo_restore(cr);
}

std::size_t draw_world_map(cairo_t* cr, double width, double height, const world_frame& f,
                           const world_view& v) {
    const double u = unit_of(width, height);
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    font(cr, 1.15 * u, true);
    const std::string title = map_title(v.jet);
    const double tw = text_width(cr, title);
    if (tw > width - 2 * u) font(cr, 1.15 * u * (width - 2 * u) / tw, true);
    text(cr, u, u + 1.2 * u, title);
    cairo_restore(cr);

    if (v.bg) paint_background(cr, f, *v.bg);
    paint_zones(cr, f, v, u);
    draw_grid(cr, f, u);
    draw_jet(cr, f, v, u);
    std::size_t dropped = 0, marked = 0;
    if (v.objects) {
        const cairo_matrix_t wm = world_matrix(f);
        cairo_save(cr);
        cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
        cairo_clip(cr);
        marked = draw_objects(cr, wm, *v.objects, u, v.pieces, true);
        const double clip[4] = {f.ox, f.oy, f.mw, f.mh};
        dropped = draw_labels(cr, wm, *v.objects, v.label_from, u, clip);
        cairo_restore(cr);
    }
    north_arrow(cr, f.ox + f.mw - 1.8 * u, f.oy + 0.9 * u, 3.2 * u);
    scale_bar(cr, f, u);
    draw_legend(cr, v, f.ox + f.mw + 1.5 * u, f.oy, u, dropped, marked > 0);
    return dropped;
}

} // namespace orv::draw
