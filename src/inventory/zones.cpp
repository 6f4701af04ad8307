// A dam's zones: its world raster's classes, polygonised on this thread.
#include "inventory/zones.h"

#include <algorithm>

#include "base/number_text.h"
#include "map/frame.h"
#include "map/strip.h"
#include "raster/classes.h"

namespace orv::inventory {

bool dam_zones(const dam_site& d, const dam_result& res, const dam_rules& r, const std::string& wkt,
               vector::zone_shapes& z, std::string& why) {
    const map::world_raster w = map::cover(d.g, res.x, res.y);
    if (w.nx == 0) {
        why = "Zonen: zu viele Zellen im gedrehten Raster, oder die Koordinaten sind zu gross "
              "fuer die Zellgroesse " +
              shortest(r.cell) + " m; --cell groesser waehlen";
        return false;
    }
    raster::raster_layout l;
    std::copy(w.gt, w.gt + 6, l.gt);
    l.nx = w.nx;
    l.ny = w.ny;
    l.wkt = wkt;
    raster::class_band band;
    if (!band.open(l, why)) {
        why = "Zonen: " + why;
        return false;
    }
    // One dam per thread: the raster is computed on this thread alone.
    if (!map::compute_world(make_site(res.p), res.x, res.y, d.g, w, r.lv, 1, {&band})) {
        why = "Zonen nicht bildbar";
        return false;
    }
    if (!vector::make_zones(band, z, why)) {
        why = "Zonen: " + why;
        return false;
    }
    return true;
}

} // namespace orv::inventory
