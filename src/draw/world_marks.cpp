// An overview's frame and tables' end, and the marks labels keep off.
#include "draw/world_marks.h"

#include "draw/style.h"
#include "draw/text.h"

namespace orv::draw {

namespace {

// Jet point (x, y) on the page.
void jet_point(const cairo_matrix_t& jm, double x, double y, double& px, double& py) {
    px = x, py = y;
    cairo_matrix_transform_point(&jm, &px, &py);
}

stroke jet_stroke(const cairo_matrix_t& jm, double x0, double y0, double x1, double y1,
                  double half) {
    stroke s{0, 0, 0, 0, half};
    jet_point(jm, x0, y0, s.x0, s.y0);
    jet_point(jm, x1, y1, s.x1, s.y1);
    return s;
}

// The four sides of the world box b on the page.
void box_strokes(const world_frame& f, const map::world_box& b, double half,
                 std::vector<stroke>& out) {
    const double x0 = f.X(b.e0), x1 = f.X(b.e1), y0 = f.Y(b.n1), y1 = f.Y(b.n0);
    out.push_back({x0, y0, x1, y0, half});
    out.push_back({x1, y0, x1, y1, half});
    out.push_back({x1, y1, x0, y1, half});
    out.push_back({x0, y1, x0, y0, half});
}

// The detail map's frame: a violet unlike the zones and the breach.
constexpr rgb frame_colour{0.5, 0.1, 0.6};

void dashed_line_look(cairo_t* cr, double u) {
    const double dash[2] = {0.6 * u, 0.35 * u};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_set_source_rgb(cr, 0.15, 0.15, 0.15);
    cairo_set_line_width(cr, 0.14 * u);
}

} // namespace

jet_arrow arrow_of(const world_frame& f, double u) {
    return {0.4 * u / f.s, 3.5 * u / f.s, 0.9 * u / f.s};
}

std::vector<stroke> jet_strokes(const world_frame& f, const world_view& v, double u) {
    const cairo_matrix_t jm = jet_matrix(f, v.g);
    const double b = v.jet.site.b / 2.0;
    const jet_arrow a = arrow_of(f, u);
    return {jet_stroke(jm, 0, -b, 0, b, 0.225 * u + 0.15 * u),
            jet_stroke(jm, 0, 0, a.len + a.head, 0, 0.45 * u + 0.15 * u)};
}

std::vector<stroke> overview_strokes(const world_frame& f, const world_view& v, double u) {
    std::vector<stroke> out;
    if (v.detail) box_strokes(f, *v.detail, 0.15 * u, out);
    if (v.tables_end) {
        const cairo_matrix_t jm = jet_matrix(f, v.g);
        out.push_back(
            jet_stroke(jm, *v.tables_end, v.jet.y.min, *v.tables_end, v.jet.y.end(), 0.15 * u));
    }
    return out;
}

void draw_overview_marks(cairo_t* cr, const world_frame& f, const world_view& v, double u) {
    cairo_save(cr);
    cairo_rectangle(cr, f.ox, f.oy, f.mw, f.mh);
    cairo_clip(cr);
    if (v.tables_end) {
        const cairo_matrix_t jm = jet_matrix(f, v.g);
        const stroke s = jet_stroke(jm, *v.tables_end, v.jet.y.min, *v.tables_end, v.jet.y.end(), 0);
        cairo_move_to(cr, s.x0, s.y0);
        cairo_line_to(cr, s.x1, s.y1);
        dashed_line_look(cr, u);
        cairo_stroke(cr);
    }
    if (v.detail) {
        const map::world_box& b = *v.detail;
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_rectangle(cr, f.X(b.e0), f.Y(b.n1), (b.e1 - b.e0) * f.s, (b.n1 - b.n0) * f.s);
        set_colour(cr, frame_colour);
        cairo_set_line_width(cr, 0.2 * u);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

double overview_rows(cairo_t* cr, double x, double y, double u, const world_view& v) {
    cairo_save(cr);
    font(cr, 0.72 * u);
    if (v.detail) {
        cairo_rectangle(cr, x, y + 0.15 * u, 1.7 * u, 0.8 * u);
        set_colour(cr, frame_colour);
        cairo_set_line_width(cr, 0.2 * u);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        text(cr, x + 2.3 * u, y + 0.85 * u, "Ausschnitt der Karte");
        y += 1.8 * u;
    }
    if (v.tables_end) {
        cairo_move_to(cr, x, y + 0.55 * u);
        cairo_line_to(cr, x + 1.7 * u, y + 0.55 * u);
        dashed_line_look(cr, u);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_set_source_rgb(cr, 0, 0, 0);
        text(cr, x + 2.3 * u, y + 0.85 * u, "Ende der Tabellen");
        y += 2.0 * u;
    }
    cairo_restore(cr);
    return y;
}

} // namespace orv::draw
