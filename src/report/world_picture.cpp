// Putting a world map picture together.
#include "report/world_picture.h"

#include <cmath>

#include "raster/background.h"

namespace orv::report {

namespace {

// The world box of the objects at level >= 1.
map::world_box objects_box(const std::vector<draw::map_object>& objects) {
    map::world_box b;
    for (const auto& o : objects) {
        if (o.level < 1) continue;
        for (const auto& p : o.parts)
            for (const auto& r : p.rings)
                for (const auto& w : r) b.add(w.e, w.n);
    }
    return b;
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

std::size_t draw_world(cairo_t* cr, const world_plan& p) {
    draw::world_view v = p.view;
    if (v.bg) v.bg = &p.bg;
    if (!p.pieces.empty()) v.pieces = &p.pieces;
    return draw::draw_world_map(cr, p.width, p.height, p.frame, v);
}

} // namespace orv::report
