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

// Draws the planned picture; returns the labels that found no place.
std::vector<std::string> draw_world(cairo_t* cr, const world_plan& p);

// The objects not wholly inside the box b, by index.
std::vector<std::size_t> objects_outside(const std::vector<draw::map_object>& objects,
                                         const map::world_box& b);

// An overview beside the detail picture: its plan, and the objects it does
// not show whole either (by index).
struct overview_plan {
    world_plan plan;
    std::vector<std::size_t> beyond;
    // The objects as the overview draws them: labelled, at any level, only
    // where the detail map does not show them whole.
    std::vector<draw::map_object> objects;
};

// Plans the overview of the detail picture d of r when some object lies
// not wholly inside d's box (else o stays empty): every object within four
// times the size of the zones and the detail map around them, the zones,
// the tables' end (the x given, perhaps none) and d's box as a frame; the
// rest as for plan_world. The plan points into o.
bool plan_overview(const world_request& r, const world_plan& d, std::optional<double> tables_end,
                   double width, double height, double dpi, std::optional<overview_plan>& o,
                   std::string& why);

// "ohne Platz: A, B" for labels that found no place; empty for none.
std::string dropped_line(const std::vector<std::string>& dropped);

// "ausserhalb der Übersicht: Gebäude: A, Strassen: 7" for the objects at
// the indices given, by layer name and label or id, the first 50 and then
// "und N weitere"; empty for none.
std::string beyond_line(const std::vector<draw::map_object>& objects,
                        const std::vector<std::size_t>& beyond,
                        const std::vector<std::string>& layers);

} // namespace orv::report
