// The layout of a map's rasters, georeferenced or in the jet frame.
#include "raster/map_layout.h"

#include <algorithm>

namespace orv::raster {

raster_layout map_layout(const map::map_grid& grid, const map::world_raster* world,
                         const std::string& wkt) {
    raster_layout l;
    const map::axis& ax = grid.x;
    const map::axis& ay = grid.y;
    if (world) {
        std::copy(world->gt, world->gt + 6, l.gt);
        l.nx = world->nx;
        l.ny = world->ny;
        l.wkt = wkt;
    } else {
        const double gt[6] = {ax.min, ax.cell, 0, ay.end(), 0, -ax.cell};
        std::copy(gt, gt + 6, l.gt);
        l.nx = ax.n;
        l.ny = ay.n;
        l.bottom_up = true;
    }
    return l;
}

} // namespace orv::raster
