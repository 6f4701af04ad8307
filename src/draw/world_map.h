// The picture of a danger map in world coordinates: north up, the zones
// turned into the world, a coordinate grid, north arrow and scale bar, the
// breach and the jet's direction, a background image and objects.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <cairo.h>

#include "draw/map_picture.h"
#include "draw/objects.h"
#include "map/frame.h"
#include "map/world_box.h"

namespace orv::draw {

// Where the map area lies on a width x height page and which world box it
// shows at scale s (page units per metre); the box has the area's shape.
struct world_frame {
    double ox = 0, oy = 0, mw = 0, mh = 0, s = 1;
    map::world_box box;
    double X(double e) const { return ox + (e - box.e0) * s; }
    double Y(double n) const { return oy + (box.n1 - n) * s; }
};

// A background: premultiplied ARGB32 pixels, w x h, covering the map area
// exactly, top row first.
struct background {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
};

// What the world map shows besides the jet-frame view: where the jet lies,
// the name of the system, the objects and the background.
struct world_view {
    map_view jet;
    map::georef g;
    std::string crs_name;
    const std::vector<map_object>* objects = nullptr;
    const std::vector<object_pieces>* pieces = nullptr; // lines stretch by stretch, by object
    int label_from = 1;
    const background* bg = nullptr;
    double opacity = 1; // of the zones
    // An overview's parts: its title (empty: the map's own), the box of the
    // detail map drawn as a frame, and the x where the tables end drawn as
    // a line across the jet.
    std::string title;
    std::optional<map::world_box> detail;
    std::optional<double> tables_end;
};

// The text unit of a width x height page.
double unit_of(double width, double height);

// The map area of a width x height page and the world box want padded and
// widened to its shape.
world_frame place_world(double width, double height, const map::world_box& want);

// Draws the world map into the frame f of a width x height page; returns
// the labels that found no place, by rank.
std::vector<std::string> draw_world_map(cairo_t* cr, double width, double height, const world_frame& f,
                           const world_view& v);

// The world-to-page matrix of f.
cairo_matrix_t world_matrix(const world_frame& f);

// The jet-to-page matrix: jet (x, y) to the world by g, then by f.
cairo_matrix_t jet_matrix(const world_frame& f, const map::georef& g);

// A north arrow of height size whose tip lies at (x, y): a dark triangle
// pointing up with an N under it.
void north_arrow(cairo_t* cr, double x, double y, double size);

} // namespace orv::draw
