// Drawing objects over a map.
#include "draw/objects.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "draw/style.h"

namespace orv::draw {

namespace {

// Adds the rings of a part to the path, each point taken through m.
void trace(cairo_t* cr, const cairo_matrix_t& m, const map_object::part& p, bool close) {
    for (const auto& ring : p.rings) {
        bool first = true;
        for (const world_xy& w : ring) {
            double x = w.e, y = w.n;
            cairo_matrix_transform_point(&m, &x, &y);
            if (first)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
            first = false;
        }
        if (close && !first) cairo_close_path(cr);
    }
}

// Diagonal grey lines over the current clip, d apart.
void hatch_clip(cairo_t* cr, double d) {
    double x0, y0, x1, y1;
    cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
    const double h = y1 - y0;
    for (double t = x0 - h; t < x1 + d; t += d) {
        cairo_move_to(cr, t, y1);
        cairo_line_to(cr, t + h, y0);
    }
    set_colour(cr, object_hatch);
    cairo_set_line_width(cr, std::max(0.4, 0.07 * d / 0.4));
    cairo_stroke(cr);
}

// The fill of an object: its level's colour, grey without a result.
rgb fill_of(const map_object& o) {
    return o.cover == coverage::none ? object_none : level_colour(o.level);
}

void draw_polygon(cairo_t* cr, const cairo_matrix_t& m, const map_object& o,
                  const map_object::part& p, double u) {
    cairo_save(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    trace(cr, m, p, true);
    if (o.level >= 1 || o.cover == coverage::none) {
        set_colour(cr, fill_of(o));
        cairo_fill_preserve(cr);
    }
    if (o.cover != coverage::full) {
        cairo_save(cr);
        cairo_clip_preserve(cr);
        cairo_new_path(cr);
        hatch_clip(cr, 0.4 * u);
        cairo_restore(cr);
        trace(cr, m, p, true);
    }
    set_colour(cr, object_outline);
    cairo_set_line_width(cr, std::max(0.5, 0.08 * u));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void draw_line(cairo_t* cr, const cairo_matrix_t& m, const map_object& o, const map_object::part& p,
               double u) {
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    trace(cr, m, p, false);
    if (o.level >= 1 || o.cover == coverage::none) {
        // A dark casing keeps a light colour visible over the zones.
        set_colour(cr, object_outline);
        cairo_set_line_width(cr, 0.5 * u);
        cairo_stroke_preserve(cr);
        set_colour(cr, fill_of(o));
        cairo_set_line_width(cr, 0.32 * u);
        cairo_stroke_preserve(cr);
        if (o.cover != coverage::full) {
            const double dash[2] = {0.3 * u, 0.3 * u};
            cairo_set_dash(cr, dash, 2, 0);
            set_colour(cr, object_hatch);
            cairo_set_line_width(cr, 0.16 * u);
            cairo_stroke_preserve(cr);
        }
        cairo_new_path(cr);
    } else {
        set_colour(cr, object_outline);
        cairo_set_line_width(cr, std::max(0.5, 0.12 * u));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void draw_point(cairo_t* cr, const cairo_matrix_t& m, const map_object& o,
                const map_object::part& p, double u) {
    if (p.rings.empty() || p.rings[0].empty()) return;
    double x = p.rings[0][0].e, y = p.rings[0][0].n;
    cairo_matrix_transform_point(&m, &x, &y);
    cairo_save(cr);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x, y, 0.42 * u, 0, 2 * M_PI);
    if (o.level >= 1 || o.cover == coverage::none) {
        set_colour(cr, fill_of(o));
        cairo_fill_preserve(cr);
    }
    set_colour(cr, object_outline);
    cairo_set_line_width(cr, std::max(0.5, 0.1 * u));
    cairo_stroke(cr);
    cairo_restore(cr);
}

} // namespace

// Lower levels first, so that the more endangered objects lie on top.
void draw_objects(cairo_t* cr, const cairo_matrix_t& m, const std::vector<map_object>& objects,
                  double u) {
    std::vector<std::size_t> order(objects.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return objects[a].level < objects[b].level;
    });
    for (std::size_t k : order) {
        const map_object& o = objects[k];
        for (const auto& p : o.parts) {
            if (p.kind == map_object::polygon) draw_polygon(cr, m, o, p, u);
            if (p.kind == map_object::line) draw_line(cr, m, o, p, u);
            if (p.kind == map_object::point) draw_point(cr, m, o, p, u);
        }
    }
}

} // namespace orv::draw
