// Placing map labels greedily by rank around their anchors.
#include "draw/labels.h"

#include <algorithm>
#include <numeric>

#include "draw/text.h"

namespace orv::draw {

// The segment clipped against the box grown by the stroke's half width
// (Liang-Barsky): it touches when some part of it remains.
bool touches(const stroke& s, const page_box& b) {
    const double x0 = b.x0 - s.half, y0 = b.y0 - s.half, x1 = b.x1 + s.half, y1 = b.y1 + s.half;
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {s.x0 - x0, x1 - s.x0, s.y0 - y0, y1 - s.y0};
    double t0 = 0, t1 = 1;
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

namespace {

// The eight spots of a label around its anchor: right, above, left, below
// first, then the corners.
std::vector<page_box> spots(const label_wish& l, double gap) {
    const double x = l.x, y = l.y, w = l.w, h = l.h, d = gap * 0.7;
    const double corners[8][2] = {{x + gap, y - h / 2},     {x - w / 2, y - gap - h},
                                  {x - gap - w, y - h / 2}, {x - w / 2, y + gap},
                                  {x + d, y - d - h},       {x - d - w, y - d - h},
                                  {x - d - w, y + d},       {x + d, y + d}};
    std::vector<page_box> out;
    for (const auto& c : corners) out.push_back({c[0], c[1], c[0] + w, c[1] + h});
    return out;
}

// Whether b lies inside the room and off its marks and the labels placed.
bool free_of_marks(const page_box& b, const label_room& room, const std::vector<page_box>& placed) {
    const page_box& in = room.inside;
    if (b.x0 < in.x0 || b.y0 < in.y0 || b.x1 > in.x1 || b.y1 > in.y1) return false;
    auto hit = [&](const page_box& p) { return p.overlaps(b); };
    if (std::any_of(placed.begin(), placed.end(), hit)) return false;
    if (std::any_of(room.mark_boxes.begin(), room.mark_boxes.end(), hit)) return false;
    return std::none_of(room.marks.begin(), room.marks.end(),
                        [&](const stroke& s) { return touches(s, b); });
}

bool off_lines(const page_box& b, const label_room& room) {
    return std::none_of(room.lines.begin(), room.lines.end(),
                        [&](const stroke& s) { return touches(s, b); });
}

// The spot of the ring at distance gap: off the lines first; failing
// that, any spot off the marks.
std::optional<page_box> spot_in_ring(const label_wish& l, double gap, const label_room& room,
                                     const std::vector<page_box>& placed) {
    std::optional<page_box> best;
    for (const page_box& b : spots(l, gap)) {
        if (!free_of_marks(b, room, placed)) continue;
        if (off_lines(b, room)) return b;
        if (!best) best = b;
    }
    return best;
}

} // namespace

// Three rings, each a text height and a bit farther out: a label whose
// anchor lies on the arrow or the breach moves off it rather than vanish.
std::vector<std::optional<page_box>> place_labels(const std::vector<label_wish>& wishes,
                                                  const label_room& room) {
    std::vector<std::size_t> order(wishes.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (wishes[a].level != wishes[b].level) return wishes[a].level > wishes[b].level;
        return wishes[a].depth > wishes[b].depth;
    });
    std::vector<std::optional<page_box>> out(wishes.size());
    std::vector<page_box> placed;
    for (std::size_t k : order) {
        std::optional<page_box> best;
        for (int ring = 0; ring < 3 && !best; ++ring)
            best = spot_in_ring(wishes[k], room.gap + ring * 1.2 * wishes[k].h, room, placed);
        if (best) placed.push_back(*best);
        out[k] = best;
    }
    return out;
}

namespace {

// The objects' line parts as thin strokes on the page.
void line_strokes(const cairo_matrix_t& m, const std::vector<map_object>& objects, double half,
                  std::vector<stroke>& out) {
    for (const map_object& o : objects)
        for (const auto& p : o.parts) {
            if (p.kind != map_object::line) continue;
            for (const auto& ring : p.rings)
                for (std::size_t k = 1; k < ring.size(); ++k) {
                    stroke s{ring[k - 1].e, ring[k - 1].n, ring[k].e, ring[k].n, half};
                    cairo_matrix_transform_point(&m, &s.x0, &s.y0);
                    cairo_matrix_transform_point(&m, &s.x1, &s.y1);
                    out.push_back(s);
                }
        }
}

} // namespace

std::vector<std::string> draw_labels(cairo_t* cr, const cairo_matrix_t& m,
                                     const std::vector<map_object>& objects, int from, double u,
                                     label_room room) {
    cairo_save(cr);
    font(cr, 0.8 * u);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    std::vector<std::size_t> which;
    std::vector<label_wish> wishes;
    for (std::size_t k = 0; k < objects.size(); ++k) {
        const map_object& o = objects[k];
        if (o.level < from || o.label.empty()) continue;
        double x = o.anchor.e, y = o.anchor.n;
        cairo_matrix_transform_point(&m, &x, &y);
        // An anchor off this map is no label without place: the object is
        // not on it.
        const page_box& in = room.inside;
        if (!(x >= in.x0 && x <= in.x1 && y >= in.y0 && y <= in.y1)) continue;
        which.push_back(k);
        wishes.push_back({x, y, text_width(cr, o.label), fe.ascent + fe.descent, o.level, o.h});
    }
    room.gap = 0.55 * u;
    line_strokes(m, objects, 0.25 * u, room.lines);
    const auto boxes = place_labels(wishes, room);
    std::vector<std::size_t> dropped;
    for (std::size_t k = 0; k < boxes.size(); ++k) {
        if (boxes[k])
            halo_text(cr, boxes[k]->x0, boxes[k]->y0 + fe.ascent, objects[which[k]].label);
        else
            dropped.push_back(k);
    }
    cairo_restore(cr);
    // Dropped texts by rank, as they were served.
    std::stable_sort(dropped.begin(), dropped.end(), [&](std::size_t a, std::size_t b) {
        if (wishes[a].level != wishes[b].level) return wishes[a].level > wishes[b].level;
        return wishes[a].depth > wishes[b].depth;
    });
    std::vector<std::string> names;
    for (std::size_t k : dropped) names.push_back(objects[which[k]].label);
    return names;
}

} // namespace orv::draw
