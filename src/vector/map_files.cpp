// The map run with its files: the sinks of one frame opened, fed and completed.
#include "vector/map_files.h"

#include "raster/classes.h"
#include "raster/level_raster.h"
#include "raster/map_layout.h"
#include "raster/raster.h"
#include "vector/zones.h"

namespace orv::vector {

using raster::class_band;
using raster::map_layout;
using raster::raster_layout;
using raster::raster_sink;
using raster::write_level_raster;

map_files_outcome run_map_files(map::map_request rq, const map_files& f, map::map_result& res) {
    const bool classes = !f.levels.empty() || !f.zones.empty();
    const bool framed = !f.raster.empty() || classes;
    const raster_layout layout = map_layout(rq.grid, f.world, f.wkt);
    std::string why;
    raster_sink raster;
    if (!f.raster.empty() && !raster.open(f.raster, f.raster_driver, layout, why))
        return {map_file::raster, why};
    class_band band;
    if (classes && !band.open(layout, why)) return {map_file::band, why};
    map::sink_pair sinks(f.raster.empty() ? nullptr : &raster, classes ? &band : nullptr);
    rq.raster = framed ? &sinks : nullptr;
    rq.world = framed ? f.world : nullptr;
    if (!map::run_map(rq, res)) {
        if (raster.failure().empty()) return {map_file::band, "Klassenraster nicht schreibbar"};
        return {map_file::raster, raster.failure()};
    }
    if (!f.raster.empty() && !raster.finish(why)) return {map_file::raster, why};
    if (!f.levels.empty() &&
        !write_level_raster(band, f.levels, f.level_driver, rq.lv, f.colours, why))
        return {map_file::levels, why};
    if (!f.zones.empty() && !write_zones(band, f.zones, f.zone_driver, rq.lv, f.colours, why))
        return {map_file::zones, why};
    return {};
}

} // namespace orv::vector
