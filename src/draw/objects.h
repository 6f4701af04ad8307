// Objects over a map: points, lines and polygons in their danger level's
// colour, marked where they were computed only in part or not at all
// (their labels are placed in draw/labels.h).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include <cairo.h>

namespace orv::draw {

// A world point, easting first.
struct world_xy {
    double e, n;
};

// How far an object was computed: every sample, some, or none.
enum class coverage { full, part, none };

// One object as the map shows it: its parts (a point, a line, or a
// polygon's closed rings with the exterior first), its level (-1 for none),
// coverage, label text and where a label is anchored.
struct map_object {
    enum shape { point, line, polygon };
    struct part {
        shape kind;
        std::vector<std::vector<world_xy>> rings;
    };
    std::vector<part> parts;
    int level = -1;
    coverage cover = coverage::full;
    double h = 0; // the worst point's depth, for the order of labels
    std::string label;
    world_xy anchor{0, 0};
    std::size_t layer = 0; // index of its layer
    std::string name;      // the label or the feature's id, for lists
};

// Draws the objects with the world-to-page matrix m; u is the picture's
// text unit (points markers and line widths follow it).
void draw_objects(cairo_t* cr, const cairo_matrix_t& m, const std::vector<map_object>& objects,
                  double u);

} // namespace orv::draw
