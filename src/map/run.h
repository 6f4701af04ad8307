// The map and profile runs as library calls: a request computed into the
// sinks that want it, so the commands only read options and write outputs.
#pragma once
#include <optional>
#include <vector>

#include "map/extent.h"
#include "map/frame.h"
#include "map/image.h"
#include "map/strip.h"
#include "map/summary.h"
#include "model/level.h"
#include "model/stages.h"

namespace orv::map {

// A map to compute: the site, its danger levels, the grid and the threads;
// with picture, the image of quantity shown; with raster, a sink for the
// raster: in the jet's frame, or with world the rotated north-up raster of
// the breach and direction in georef.
struct map_request {
    site s;
    levels lv;
    map_grid grid;
    unsigned threads = 0;
    bool picture = false;
    quantity shown = quantity::levels;
    strip_sink* raster = nullptr;
    const world_raster* world = nullptr;
    georef where;
};

// What a map run gives: the statuses of the columns (the stations' own),
// the picture's image when asked for, and the summary's figures.
struct map_result {
    std::vector<int32_t> columns;
    std::optional<image_sink> image;
    figures fig;
};

// Computes the map into its sinks; false when a sink stopped it.
bool run_map(const map_request& r, map_result& out);

// A profile along the line y parallel to the jet: x, status and results of
// every sample.
struct profile_samples {
    real y = 0;
    std::vector<real> xs;
    std::vector<int32_t> st;
    std::vector<intensity> res;
};

// The automatic x range of a profile: from 0 to the same margin beyond the
// tables' end as a map; nothing when the site has no table range.
std::optional<range> profile_range(const site& s);

// The samples at MIN + k * step (formed in double, rounded once) up to MAX.
profile_samples sample_profile(const site& s, const range& xr, double step, real y);

// The number of samples sample_profile takes.
double profile_count(const range& xr, double step);

} // namespace orv::map
