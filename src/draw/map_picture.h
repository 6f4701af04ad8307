// The picture of a danger map: zones or one quantity in the jet's frame,
// with axes, breach, legend, title and scale bar.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <cairo.h>

#include "draw/objects.h"
#include "map/axis.h"
#include "map/frame.h"
#include "map/image.h"
#include "model/level.h"
#include "model/params.h"

namespace orv::draw {

// What a map picture shows: the site (its slope perhaps corrected), the
// thresholds, the grid's axes, its image and each column's status.
struct map_view {
    params site;
    bool corrected = false;
    levels lv;
    map::axis x, y;
    const map::map_image* image = nullptr;
    std::vector<int32_t> column_status;
    map::quantity shown = map::quantity::levels;
    // Objects in world coordinates, turned into the jet's frame by g; their
    // labels from level label_from.
    const std::vector<map_object>* objects = nullptr;
    map::georef g{};
    int label_from = 1;
};

// Draws the map on a width x height page.
void draw_map(cairo_t* cr, double width, double height, const map_view& v);

// The title line: what is shown and the five site parameters.
std::string map_title(const map_view& v);

} // namespace orv::draw
