// A map picture in world coordinates put together: the extent chosen, the
// background warped to the picture's pixels, the map drawn.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <cairo.h>

#include "draw/world_map.h"

namespace orv::report {

// Which world box the picture shows.
enum class extent_kind { zones, objects, given };

// Everything a world picture needs besides the page.
struct world_request {
    draw::world_view view;         // zones, jet, objects; its bg and opacity are filled in
    std::string wkt;               // the picture's system
    std::string background;        // a raster path, empty for none
    std::optional<double> opacity; // of the zones over a background (default 0.6)
    extent_kind extent = extent_kind::objects;
    map::world_box given; // for extent_kind::given
    // The stretches of the objects' lines inside the map's box, computed
    // once the box is known; none for lines in one colour.
    std::function<std::vector<draw::object_pieces>(const map::world_box&,
                                                   const std::vector<draw::map_object>&)>
        pieces;
};

// A world picture ready to draw on a width x height page.
struct world_plan {
    draw::world_frame frame;
    draw::background bg;
    draw::world_view view;
    std::vector<draw::object_pieces> pieces; // of the objects inside the frame's box
    double width = 0, height = 0;
};

// Lays out the picture and warps the background to dpi pixels per inch of
// the page's points (0: one pixel per page unit, for PNG); false with a
// German reason in why.
bool plan_world(const world_request& r, double width, double height, double dpi, world_plan& p,
                std::string& why);

// Draws the planned picture; returns how many labels found no place.
std::size_t draw_world(cairo_t* cr, const world_plan& p);

} // namespace orv::report
