// A map computed into its files: the six-band raster, and the level raster
// and the zones written from a class band, all in one frame.
#pragma once
#include <string>

#include "map/palette.h"
#include "map/run.h"

namespace orv::vector {

// The files a map run writes, each at a staged path with its driver; an
// empty path for a file not asked for.
struct map_files {
    std::string raster, raster_driver;
    std::string levels, level_driver;
    std::string zones, zone_driver;
    std::string wkt;                          // the system of a georeferenced map
    const map::world_raster* world = nullptr; // the rotated raster, georeferenced only
    map::zone_colours colours;                // of the level raster and the zones
};

// Which file failed: none, the raster, the class band (no file of its own),
// the level raster or the zones.
enum class map_file { none, raster, band, levels, zones };

// How a run with files ended: the file that failed, and why (German).
struct map_files_outcome {
    map_file failed = map_file::none;
    std::string why;
};

// Computes the map rq into res and into the files f asked for; rq's raster
// sink and world raster are set here.
map_files_outcome run_map_files(map::map_request rq, const map_files& f, map::map_result& res);

} // namespace orv::vector
