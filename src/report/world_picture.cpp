// Putting a world map picture together.
#include "report/world_picture.h"

#include <cmath>

#include "raster/background.h"

namespace orv::report {

namespace {

// The world box of one object.
map::world_box box_of(const draw::map_object& o) {
    map::world_box b;
    for (const auto& p : o.parts)
        for (const auto& r : p.rings)
            for (const auto& w : r) b.add(w.e, w.n);
    return b;
}

// The world box of the objects at level >= 1.
map::world_box objects_box(const std::vector<draw::map_object>& objects) {
    map::world_box b;
    for (const auto& o : objects)
        if (o.level >= 1) b.add(box_of(o));
    return b;
}

// Whether b holds all of o; an empty o lies nowhere.
bool holds(const map::world_box& b, const map::world_box& o) {
    return !o.empty() && b.e0 <= o.e0 && o.e1 <= b.e1 && b.n0 <= o.n0 && o.n1 <= b.n1;
}

// Plans the picture of r showing exactly the box want.
bool plan_box(world_request r, const map::world_box& want, double width, double height,
              double dpi, world_plan& p, std::string& why) {
    r.extent = extent_kind::given;
    r.given = want;
    return plan_world(r, width, height, dpi, p, why);
}

} // namespace

bool plan_world(const world_request& r, double width, double height, double dpi, world_plan& p,
                std::string& why) {
    map::world_box want;
    if (r.extent == extent_kind::given) {
        want = r.given;
    } else {
        want = map::computed_box(r.view.g, r.view.jet.x, r.view.jet.y);
        if (r.extent == extent_kind::objects && r.view.objects)
            want.add(objects_box(*r.view.objects));
    }
    p.width = width, p.height = height;
    p.frame = draw::place_world(width, height, want);
    p.view = r.view;
    p.view.opacity = r.background.empty() ? 1.0 : r.opacity.value_or(0.6);
    p.view.crs_name = raster::crs_name(r.wkt);
    p.view.bg = nullptr;
    p.pieces.clear();
    if (r.pieces && r.view.objects) p.pieces = r.pieces(p.frame.box, *r.view.objects);
    p.view.pieces = nullptr;
    if (!r.background.empty()) {
        const double k = dpi > 0 ? dpi / 72 : 1;
        const int w = std::max(1, static_cast<int>(std::lround(p.frame.mw * k)));
        const int h = std::max(1, static_cast<int>(std::lround(p.frame.mh * k)));
        // The pixel grid covers the map area, which shows the frame's box.
        if (!raster::warp_background(r.background, r.wkt, p.frame.box, w, h, p.bg.px, why))
            return false;
        p.bg.w = w, p.bg.h = h;
        p.view.bg = &p.bg;
    }
    return true;
}

std::vector<std::string> draw_world(cairo_t* cr, const world_plan& p) {
    draw::world_view v = p.view;
    if (v.bg) v.bg = &p.bg;
    if (!p.pieces.empty()) v.pieces = &p.pieces;
    return draw::draw_world_map(cr, p.width, p.height, p.frame, v);
}

std::vector<std::size_t> objects_outside(const std::vector<draw::map_object>& objects,
                                         const map::world_box& b) {
    std::vector<std::size_t> out;
    for (std::size_t k = 0; k < objects.size(); ++k) {
        const map::world_box o = box_of(objects[k]);
        if (objects[k].far || (!o.empty() && !holds(b, o))) out.push_back(k);
    }
    return out;
}

// The zones, the detail map's box and the tables' end first; objects join
// while they lie within four times that core's larger side around it, so
// that far objects do not shrink the zones to nothing.
bool plan_overview(const world_request& r, const world_plan& d, std::optional<double> tables_end,
                   double width, double height, double dpi, std::optional<overview_plan>& o,
                   std::string& why) {
    o.reset();
    const auto& objects = r.view.objects ? *r.view.objects : std::vector<draw::map_object>{};
    if (objects_outside(objects, d.frame.box).empty()) return true;
    const map::axis& x = r.view.jet.x;
    const map::axis& y = r.view.jet.y;
    map::world_box core = map::computed_box(r.view.g, x, y);
    core.add(d.frame.box);
    if (tables_end) {
        for (double yy : {y.min, y.end()}) {
            double e, n;
            map::to_world(r.view.g, *tables_end, yy, e, n);
            core.add(e, n);
        }
    }
    const double reach = 4 * std::max(core.width(), core.height());
    const map::world_box near{core.e0 - reach, core.n0 - reach, core.e1 + reach,
                              core.n1 + reach};
    map::world_box want = core;
    for (const auto& ob : objects) {
        const map::world_box b = box_of(ob);
        if (holds(near, b)) want.add(b);
    }
    // Room at the edges, so that no object hides under the north arrow.
    const double pad = 0.06 * std::max(want.width(), want.height());
    want.add(want.e0 - pad, want.n0 - pad);
    want.add(want.e1 + pad, want.n1 + pad);
    overview_plan& p = o.emplace();
    p.objects = objects;
    for (auto& ob : p.objects)
        if (holds(d.frame.box, box_of(ob))) ob.label.clear();
    world_request q = r;
    q.view.title = "\u00dcbersicht";
    q.view.detail = d.frame.box;
    q.view.tables_end = tables_end;
    q.view.objects = &p.objects;
    q.view.label_from = no_level;
    if (!plan_box(q, want, width, height, dpi, p.plan, why)) {
        o.reset();
        return false;
    }
    p.beyond = objects_outside(objects, p.plan.frame.box);
    return true;
}

std::string dropped_line(const std::vector<std::string>& dropped) {
    std::string s;
    for (const std::string& d : dropped) s += (s.empty() ? "ohne Platz: " : ", ") + d;
    return s;
}

std::string beyond_line(const std::vector<draw::map_object>& objects,
                        const std::vector<std::size_t>& beyond,
                        const std::vector<std::string>& layers) {
    // The first names, then how many more: a register's layer may hold
    // thousands of objects far off.
    constexpr std::size_t most = 50;
    std::string s;
    for (std::size_t i = 0; i < beyond.size() && i < most; ++i) {
        const draw::map_object& o = objects[beyond[i]];
        const std::string layer = o.layer < layers.size() ? layers[o.layer] + ": " : "";
        s += (s.empty() ? "ausserhalb der \u00dcbersicht: " : ", ") + layer + o.name;
    }
    if (beyond.size() > most)
        s += " und " + std::to_string(beyond.size() - most) + " weitere";
    return s;
}

} // namespace orv::report
