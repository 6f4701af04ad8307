// Drawing objects over a map.
#include "draw/objects.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "draw/style.h"

namespace orv::draw {

namespace {

// The worst point marker's width in text units.
constexpr double marker_width = 0.76;

// Adds the polyline pts to the path, each point taken through m; false
// when it has none.
bool trace_points(cairo_t* cr, const cairo_matrix_t& m, const std::vector<world_xy>& pts) {
    bool first = true;
    for (const world_xy& w : pts) {
        double x = w.e, y = w.n;
        cairo_matrix_transform_point(&m, &x, &y);
        if (first)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
        first = false;
    }
    return !first;
}

// Adds the rings of a part to the path, each point taken through m.
void trace(cairo_t* cr, const cairo_matrix_t& m, const map_object::part& p, bool close) {
    for (const auto& ring : p.rings) {
        if (trace_points(cr, m, ring) && close) cairo_close_path(cr);
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

// Strokes the current path as a line of level and coverage: a coloured
// band in a dark casing at level 1 or more and without a result, dashed
// when computed in part; a thin dark line at level 0. The path is consumed.
void stroke_line(cairo_t* cr, int level, coverage cover, double u) {
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (level >= 1 || cover == coverage::none) {
        // A dark casing keeps a light colour visible over the zones.
        set_colour(cr, object_outline);
        cairo_set_line_width(cr, 0.5 * u);
        cairo_stroke_preserve(cr);
        set_colour(cr, cover == coverage::none ? object_none : level_colour(level));
        cairo_set_line_width(cr, 0.32 * u);
        cairo_stroke_preserve(cr);
        if (cover != coverage::full) {
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

void draw_line(cairo_t* cr, const cairo_matrix_t& m, const map_object& o, const map_object::part& p,
               double u) {
    trace(cr, m, p, false);
    stroke_line(cr, o.level, o.cover, u);
}


// Adds the runs of level lv to the path (all but level 0 with any); true
// when there was one.
bool trace_level(cairo_t* cr, const cairo_matrix_t& m, const std::vector<piece_run>& runs, int lv,
                 bool any = false) {
    bool traced = false;
    for (const piece_run& r : runs) {
        if (any ? r.level == 0 : r.level != lv) continue;
        trace_points(cr, m, r.pts);
        traced = true;
    }
    return traced;
}

// An object's lines stretch by stretch: the level-0 stretches thin, then
// one casing under all others, then their colours from the lowest level up,
// so that where two stretches meet the higher level lies on top; each
// level is one stroke, so that a vector page stays small.
void draw_runs(cairo_t* cr, const cairo_matrix_t& m, const map_object& o,
               const std::vector<piece_run>& runs, double u) {
    if (trace_level(cr, m, runs, 0)) stroke_line(cr, 0, coverage::full, u);
    if (!trace_level(cr, m, runs, 0, true)) return;
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    set_colour(cr, object_outline);
    cairo_set_line_width(cr, 0.5 * u);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 0.32 * u);
    for (const int lv : {-1, 1, 2, 3}) {
        if (!trace_level(cr, m, runs, lv)) continue;
        set_colour(cr, lv < 0 ? object_none : level_colour(lv));
        cairo_stroke(cr);
    }
    if (o.cover != coverage::full) {
        const double dash[2] = {0.3 * u, 0.3 * u};
        cairo_set_dash(cr, dash, 2, 0);
        set_colour(cr, object_hatch);
        cairo_set_line_width(cr, 0.16 * u);
        trace_level(cr, m, runs, 0, true);
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

// The pieces of object k, null when it has none.
const object_pieces* pieces_of(const std::vector<object_pieces>* pieces, std::size_t k) {
    if (!pieces) return nullptr;
    const auto it =
        std::lower_bound(pieces->begin(), pieces->end(), k,
                         [](const object_pieces& p, std::size_t i) { return p.object < i; });
    return it != pieces->end() && it->object == k ? &*it : nullptr;
}

// Whether o is large enough on the page that its worst point's marker
// leaves most of it visible: its extent reaches three markers' widths.
bool room_for_marker(const cairo_matrix_t& m, const map_object& o, double u) {
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (const auto& p : o.parts) {
        if (p.kind == map_object::point) continue;
        for (const auto& ring : p.rings)
            for (const world_xy& w : ring) {
                double x = w.e, y = w.n;
                cairo_matrix_transform_point(&m, &x, &y);
                x0 = std::min(x0, x), x1 = std::max(x1, x);
                y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    }
    return std::max(x1 - x0, y1 - y0) >= 3 * marker_width * u;
}

} // namespace

void worst_marker(cairo_t* cr, double x, double y, double u) {
    const double r = marker_width / 2 * u;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, x, y - r);
    cairo_line_to(cr, x + r, y);
    cairo_line_to(cr, x, y + r);
    cairo_line_to(cr, x - r, y);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_set_line_width(cr, 0.16 * u);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
    cairo_restore(cr);
}

// Lower levels first, so that the more endangered objects lie on top.
std::size_t draw_objects(cairo_t* cr, const cairo_matrix_t& m,
                         const std::vector<map_object>& objects, double u,
                         const std::vector<object_pieces>* pieces, bool worst) {
    std::vector<std::size_t> order(objects.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return objects[a].level < objects[b].level;
    });
    for (std::size_t k : order) {
        const map_object& o = objects[k];
        const object_pieces* runs = pieces_of(pieces, k);
        for (const auto& p : o.parts) {
            if (p.kind == map_object::polygon) draw_polygon(cr, m, o, p, u);
            if (p.kind == map_object::line && !runs) draw_line(cr, m, o, p, u);
            if (p.kind == map_object::point) draw_point(cr, m, o, p, u);
        }
        if (runs) draw_runs(cr, m, o, runs->runs, u);
    }
    std::size_t marked = 0;
    if (!worst) return marked;
    for (std::size_t k : order) {
        if (!objects[k].has_worst || !room_for_marker(m, objects[k], u)) continue;
        double x = objects[k].worst.e, y = objects[k].worst.n;
        cairo_matrix_transform_point(&m, &x, &y);
        worst_marker(cr, x, y, u);
        ++marked;
    }
    return marked;
}

} // namespace orv::draw
