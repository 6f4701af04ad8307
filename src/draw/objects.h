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
// coverage, label text and where a label is anchored; for an object with a
// level of 1 or more, where its worst sample lies.
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
    bool far = false; // left undrawn far off the pictures: only its name is kept
    std::size_t layer = 0; // index of its layer
    std::string name;      // the label or the feature's id, for lists
    bool has_worst = false; // a marker at worst belongs to the object
    world_xy worst{0, 0};
};

// A stretch of an object's line drawn in one level's colour (-1: no result
// there): a polyline in world coordinates.
struct piece_run {
    int level = -1;
    std::vector<world_xy> pts;
};

// The stretches of all line parts of the object with index object in the
// list drawn; they take the place of its line parts.
struct object_pieces {
    std::size_t object = 0;
    std::vector<piece_run> runs;
};

// Draws the objects with the world-to-page matrix m; u is the picture's
// text unit (points markers and line widths follow it). pieces, sorted by
// object, colour the lines of the objects they name stretch by stretch;
// with worst, the worst points are marked over everything, on objects
// whose lines or areas span at least three markers on the page (a smaller
// one would be hidden under its marker). Returns how many were marked.
std::size_t draw_objects(cairo_t* cr, const cairo_matrix_t& m,
                         const std::vector<map_object>& objects, double u,
                         const std::vector<object_pieces>* pieces = nullptr, bool worst = false);

// The marker of a worst point centred at page point (x, y): a small dark
// diamond with a white rim.
void worst_marker(cairo_t* cr, double x, double y, double u);

} // namespace orv::draw
