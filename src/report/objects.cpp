// Collecting the judged objects.
#include "report/objects.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include <ogr_feature.h>
#include <ogr_geometry.h>

#include "base/level_text.h"

namespace orv::report {

namespace {

// Half way along the first line part's length.
draw::world_xy line_middle(const std::vector<assess::xy>& v) {
    double total = 0;
    for (std::size_t k = 1; k < v.size(); ++k)
        total += std::hypot(v[k].e - v[k - 1].e, v[k].n - v[k - 1].n);
    double left = total / 2;
    for (std::size_t k = 1; k < v.size(); ++k) {
        const double l = std::hypot(v[k].e - v[k - 1].e, v[k].n - v[k - 1].n);
        if (l >= left && l > 0) {
            const double t = left / l;
            return {v[k - 1].e + t * (v[k].e - v[k - 1].e), v[k - 1].n + t * (v[k].n - v[k - 1].n)};
        }
        left -= l;
    }
    return {v.front().e, v.front().n};
}

// A point inside the polygon part (OGR's point on surface), its first
// vertex when there is none.
draw::world_xy point_on_surface(const assess::part& p) {
    OGRPolygon poly;
    for (const auto& ring : p.rings) {
        auto* r = new OGRLinearRing;
        for (const auto& w : ring) r->addPoint(w.e, w.n);
        poly.addRingDirectly(r);
    }
    OGRPoint pt;
    if (poly.PointOnSurface(&pt) == OGRERR_NONE && !pt.IsEmpty()) return {pt.getX(), pt.getY()};
    return {p.rings[0][0].e, p.rings[0][0].n};
}

// The anchor of a label: a point's position, a line's middle, a polygon's
// point on surface; of the first part of the object's highest rank
// (polygon, line, point).
draw::world_xy anchor_of(const std::vector<assess::part>& parts) {
    const assess::part* best = nullptr;
    for (const auto& p : parts) {
        if (p.rings.empty() || p.rings[0].empty()) continue;
        if (!best || p.k > best->k) best = &p;
    }
    if (!best) return {0, 0};
    if (best->k == assess::part::polygon) return point_on_surface(*best);
    if (best->k == assess::part::line) return line_middle(best->rings[0]);
    return {best->rings[0][0].e, best->rings[0][0].n};
}

} // namespace

std::string statuses_text(std::uint32_t bits) {
    std::string s;
    for (int k = 1; k <= 5; ++k) {
        if (!(bits >> k & 1)) continue;
        if (!s.empty()) s += "; ";
        s += k == 3 || k == 4 ? "Gefaelle ausserhalb der Tabellen" : no_result_label(k);
        s += " (Status " + std::to_string(k) + ")";
    }
    return s;
}

object_collector::object_collector(std::string label_field)
    : label_field_(std::move(label_field)) {}

void object_collector::take(std::size_t layer, const OGRFeature& f,
                            const std::vector<assess::part>& parts, const assess::verdict& v,
                            const levels& lv) {
    const int field =
        label_field_.empty() ? -1 : f.GetDefnRef()->GetFieldIndex(label_field_.c_str());
    take(layer,
         field >= 0 && f.IsFieldSetAndNotNull(field) ? std::string(f.GetFieldAsString(field))
                                                     : std::to_string(f.GetFID()),
         parts, v, lv);
}

void object_collector::take(std::size_t layer, std::string label,
                            const std::vector<assess::part>& parts, const assess::verdict& v,
                            const levels& lv, bool drawn) {
    const std::size_t order = order_++;
    object_row row;
    row.layer = layer;
    row.order = order;
    row.label = std::move(label);
    row.level = v.level;
    row.state = assess::state_key(v.st);
    row.statuses = v.statuses;
    row.start = v.start, row.end = v.end;
    row.failed = v.failed;
    if (v.level != no_level && v.level >= 1) {
        const char* c = assess::criterion(v, lv);
        row.crit = c ? c : "";
        row.h = v.worst.h, row.q = v.worst.q, row.v = v.worst.v, row.x = v.x;
        row.east = v.east, row.north = v.north;
    }
    if (v.st == assess::state::empty) {
        // Nothing to draw, yet listed: a layer of such features judges nothing.
        row.why = "ohne Geometrie";
        list_.unassessed.push_back(std::move(row));
        return;
    }
    if (v.st == assess::state::upstream) return;
    if (drawn) {
        draw(row, parts, v);
    } else if (!v.failed) {
        // Far off every picture: kept by name only, so that the overview
        // lists it beyond itself as it lists every object drawn there (an
        // unreadable one has no place, drawn or not).
        draw::map_object& o = list_.drawn.emplace_back();
        o.far = true;
        o.level = v.level;
        o.layer = row.layer;
        o.name = row.label;
    }
    if (row.level != no_level && row.level >= 1) {
        list_.endangered.push_back(std::move(row));
    } else if (v.st == assess::state::none) {
        if (v.failed) row.why = "Geometrie nicht lesbar";
        list_.unassessed.push_back(std::move(row));
    }
}

void object_collector::draw(const object_row& row, const std::vector<assess::part>& parts,
                            const assess::verdict& v) {
    draw::map_object o;
    o.level = v.level;
    o.cover = v.st == assess::state::full   ? draw::coverage::full
              : v.st == assess::state::part ? draw::coverage::part
                                            : draw::coverage::none;
    o.h = v.level != no_level ? static_cast<double>(v.worst.h) : 0;
    o.label = label_field_.empty() ? "" : row.label;
    o.anchor = anchor_of(parts);
    o.layer = row.layer;
    o.name = row.label;
    // A point object is its own worst point; a line or area is marked where
    // it is hit worst.
    o.has_worst = v.level != no_level && v.level >= 1 &&
                  std::any_of(parts.begin(), parts.end(),
                              [](const assess::part& p) { return p.k != assess::part::point; });
    if (o.has_worst) o.worst = {v.east, v.north};
    for (const auto& p : parts) {
        draw::map_object::part d;
        d.kind = p.k == assess::part::point  ? draw::map_object::point
                 : p.k == assess::part::line ? draw::map_object::line
                                             : draw::map_object::polygon;
        for (const auto& ring : p.rings) {
            d.rings.emplace_back();
            d.rings.back().reserve(ring.size());
            for (const auto& w : ring) d.rings.back().push_back({w.e, w.n});
        }
        o.parts.push_back(std::move(d));
    }
    list_.drawn.push_back(std::move(o));
}

// Level descending, then distance along the jet, then input order.
object_list object_collector::finish() {
    std::stable_sort(list_.endangered.begin(), list_.endangered.end(),
                     [](const object_row& a, const object_row& b) {
                         if (a.level != b.level) return a.level > b.level;
                         return a.x < b.x;
                     });
    return std::move(list_);
}

assess::outcome gather(assess::request r, object_list& list) {
    object_collector c(r.label);
    const levels lv = r.lv;
    r.out.clear();
    r.each = [&](std::size_t layer, const OGRFeature& f, const std::vector<assess::part>& parts,
                 const assess::verdict& v) { c.take(layer, f, parts, v, lv); };
    assess::outcome o = assess::assess(r);
    list = c.finish();
    return o;
}

} // namespace orv::report
