// Where the rasters of a map lie: the frame that the six-band raster, the
// level raster and the zones of one run share.
#pragma once
#include <string>

#include "map/extent.h"
#include "map/frame.h"
#include "raster/raster.h"

namespace orv::raster {

// The layout of a map's rasters: with world, the rotated north-up world
// raster in the system wkt; without, the jet frame's grid, rows bottom up
// and no coordinate system.
raster_layout map_layout(const map::map_grid& grid, const map::world_raster* world,
                         const std::string& wkt);

} // namespace orv::raster
