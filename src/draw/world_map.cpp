// Drawing a danger map north up in world coordinates.
#include "draw/world_map.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/number_text.h"
#include "base/steps.h"
#include "draw/axes.h"
#include "draw/hatch.h"
#include "draw/labels.h"
#include "draw/legend.h"
#include "draw/style.h"
#include "draw/text.h"
#include "draw/world_marks.h"
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
    const jet_arrow a = arrow_of(f, u);
    const double len = a.len, head = a.head;
    cairo_set_line_width(cr, 0.18 * u);
    jet_segment(cr, jm, a.start, 0, len, 0);
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

// The scale bar's length in metres and its end's text.
double scale_length(const world_frame& f) {
    return round_down_readable(0.22 * f.mw / f.s);
}

// The white ground of the scale bar in the map's lower left corner, in the
// bar's font.
page_box scale_ground(cairo_t* cr, const world_frame& f, double u, const std::string& end) {
    const double bl = scale_length(f) * f.s;
    const double x = f.ox + 1.2 * u, y = f.oy + f.mh - 1.6 * u;
    return {x - 0.8 * u, y - 2.0 * u, x + bl + 0.8 * u + text_width(cr, end) / 2, y + 0.9 * u};
}

std::string scale_end(const world_frame& f) {
    const double len = scale_length(f);
    return grouped(len, step_decimals(len)) + " m";
}

// A scale bar in the map's lower left corner on a white ground.
void scale_bar(cairo_t* cr, const world_frame& f, double u) {
    const double bl = scale_length(f) * f.s;
    const double x = f.ox + 1.2 * u, y = f.oy + f.mh - 1.6 * u;
    const std::string end = scale_end(f);
    cairo_save(cr);
    font(cr, 0.75 * u);
    const page_box g = scale_ground(cr, f, u, end);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    cairo_rectangle(cr, g.x0, g.y0, g.x1 - g.x0, g.y1 - g.y0);
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

// Where the north arrow stands: its tip, and its size.
constexpr double north_size = 3.2;
void north_tip(const world_frame& f, double u, double& x, double& y) {
    x = f.ox + f.mw - 1.8 * u, y = f.oy + 0.9 * u;
}

// Where labels may go: the map area off the breach, the arrow, the north
// arrow, the scale bar and an overview's lines.
label_room room_of(cairo_t* cr, const world_frame& f, const world_view& v, double u) {
    label_room room;
    room.inside = {f.ox, f.oy, f.ox + f.mw, f.oy + f.mh};
    room.marks = jet_strokes(f, v, u);
    double x, y;
    north_tip(f, u, x, y);
    const double n = north_size * u;
    room.mark_boxes.push_back({x - 0.4 * n, y - 0.1 * n, x + 0.4 * n, y + 1.15 * n});
    cairo_save(cr);
    font(cr, 0.75 * u);
    room.mark_boxes.push_back(scale_ground(cr, f, u, scale_end(f)));
    cairo_restore(cr);
    room.lines = overview_strokes(f, v, u);
    return room;
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
    y = overview_rows(cr, x, y, u, v);
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

std::vector<std::string> draw_world_map(cairo_t* cr, double width, double height,
                                        const world_frame& f, const world_view& v) {
    const double u = unit_of(width, height);
    cairo_save(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    font(cr, 1.15 * u, true);
    const std::string title = v.title.empty() ? map_title(v.jet) : v.title;
    const double tw = text_width(cr, title);
    if (tw > width - 2 * u) font(cr, 1.15 * u * (width - 2 * u) / tw, true);
    text(cr, u, u + 1.2 * u, title);
    cairo_restore(cr);

    if (v.bg) paint_background(cr, f, *v.bg);
    paint_zones(cr, f, v, u);
    draw_grid(cr, f, u);
    draw_overview_marks(cr, f, v, u);
    draw_jet(cr, f, v, u);
    std::vector<std::string> dropped;
    std::size_t marked = 0;
    if (v.objects) {
        const cairo_matrix_t wm = world_matrix(f);
        cairo_save(cr);
        cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
        cairo_clip(cr);
        marked = draw_objects(cr, wm, *v.objects, u, v.pieces, true);
        dropped = draw_labels(cr, wm, *v.objects, v.label_from, u, room_of(cr, f, v, u));
        cairo_restore(cr);
    }
    double nx, ny;
    north_tip(f, u, nx, ny);
    north_arrow(cr, nx, ny, north_size * u);
    scale_bar(cr, f, u);
    draw_legend(cr, v, f.ox + f.mw + 1.5 * u, f.oy, u, dropped.size(), marked > 0);
    return dropped;
}

} // namespace orv::draw
