// Drawing the map itself: the cells, the zones without a result, the level
// boundaries, the breach and the axes.
#include <algorithm>
#include <cmath>
#include <string>

#include "base/number_text.h"
#include "base/steps.h"
#include "draw/axes.h"
#include "draw/hatch.h"
#include "draw/labels.h"
#include "draw/map_parts.h"
#include "draw/objects.h"
#include "draw/style.h"
#include "draw/text.h"

namespace orv::draw {

double scale_top(const map::map_image& img) {
    std::vector<float> v;
    for (float f : img.value)
        if (std::isfinite(f)) v.push_back(f);
    if (v.empty()) return 1;
    const auto k = static_cast<std::ptrdiff_t>((v.size() - 1) * 98 / 100);
    std::nth_element(v.begin(), v.begin() + k, v.end());
    return round_up_readable(std::max(static_cast<double>(v[k]), 1e-6));
}

namespace {

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
    set_colour(cr, breach_colour);
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
        text(cr, f.X(t), f.oy + f.mh + 1.3 * u, picture_number(t, step_decimals(xs)),
             align::centre);
    }
    for (double t : ticks(v.y.min, v.y.end(), ys)) {
        cairo_move_to(cr, f.ox, f.Y(t));
        cairo_line_to(cr, f.ox - 0.35 * u, f.Y(t));
        const std::string s = picture_number(t, step_decimals(ys));
        widest = std::max(widest, text_width(cr, s));
        text(cr, f.ox - 0.5 * u, f.Y(t) + 0.3 * u, s, align::right);
    }
    cairo_stroke(cr);
    font(cr, 0.9 * u);
    text(cr, f.ox + f.mw / 2, f.oy + f.mh + 2.6 * u, "x entlang des Strahls [m]", align::centre);
    text_up(cr, f.ox - widest - 1.1 * u, f.oy + f.mh / 2, "y quer zum Strahl [m], + links");
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
    label_room room;
    room.inside = {f.ox, f.oy, f.ox + f.mw, f.oy + f.mh};
    // The breach bar and its name stay readable.
    const double b = v.site.b / 2.0;
    room.marks.push_back({f.X(0), f.Y(b), f.X(0), f.Y(-b), 0.4 * u});
    room.mark_boxes.push_back({f.X(0), f.Y(b) - 1.4 * u, f.X(0) + 5.5 * u, f.Y(b)});
    draw_labels(cr, m, *v.objects, v.label_from, u, room);
    cairo_restore(cr);
}

} // namespace

void draw_map_body(cairo_t* cr, const map_view& v, const frame& f, double u, double top) {
    paint_image(cr, v, f, top);
    paint_no_result(cr, v, f, u);
    draw_boundaries(cr, v, f, u);
    draw_breach(cr, v, f, u);
    if (v.objects) draw_jet_objects(cr, v, f, u);
    draw_axes(cr, v, f, u);
}

} // namespace orv::draw
