// Lines drawn stretch by stretch in their levels' colours, the higher
// level on top where two meet, and the worst point's marker over them.
#include <cstdint>
#include <vector>

#include <cairo.h>
#include <gtest/gtest.h>

#include "draw/objects.h"
#include "draw/style.h"

namespace {

using orv::draw::coverage;
using orv::draw::map_object;
using orv::draw::object_pieces;
using orv::draw::piece_run;

uint32_t rgb_of(const orv::draw::rgb& c) {
    return orv::draw::pixel(c) & 0xffffff;
}

// The pixel at (x, y) after drawing objects at unit 10 onto white, page
// coordinates being world coordinates.
uint32_t drawn_at(const std::vector<map_object>& objects, const std::vector<object_pieces>* pieces,
                  bool worst, int x, int y) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 120, 40);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_matrix_t m;
    cairo_matrix_init_identity(&m);
    orv::draw::draw_objects(cr, m, objects, 10, pieces, worst);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    const unsigned char* row = cairo_image_surface_get_data(s) +
                               static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(s);
    const uint32_t px = reinterpret_cast<const uint32_t*>(row)[x] & 0xffffff;
    cairo_surface_destroy(s);
    return px;
}

// A road from (5, 20.5) to (115, 20.5) at level 3, its worst point at x = 10:
// half-way between pixel rows, so that even a thin line covers row 20.
map_object road(coverage cover, bool small) {
    map_object o;
    o.parts.push_back({map_object::line, {{{5, 20.5}, {small ? 14.0 : 60, 20.5}}}});
    if (!small) o.parts[0].rings[0].push_back({115, 20.5});
    o.level = 3;
    o.cover = cover;
    o.has_worst = true;
    o.worst = {10, 20.5};
    return o;
}

TEST(DrawLinePieces, EachStretchInItsLevelsColour) {
    // Level 3 to x = 40, level 1 to 80, level 0 beyond.
    const std::vector<object_pieces> pieces = {
        {0,
         {piece_run{3, {{5, 20.5}, {40, 20.5}}}, piece_run{1, {{40, 20.5}, {60, 20.5}, {80, 20.5}}},
          piece_run{0, {{80, 20.5}, {115, 20.5}}}}}};
    const uint32_t white = 0xffffff, casing = rgb_of(orv::draw::object_outline);
    const struct {
        const char* name;
        coverage cover;
        bool with_pieces, worst;
        int x, y;
        uint32_t want;
        bool small = false; // the road 9 units long, less than three markers
    } cases[] = {
        {"level 3 stretch", coverage::full, true, false, 25, 20,
         rgb_of(orv::draw::level_colour(3))},
        {"level 1 stretch", coverage::full, true, false, 65, 20,
         rgb_of(orv::draw::level_colour(1))},
        // Where two stretches meet the higher level's round end lies on top.
        {"join", coverage::full, true, false, 40, 20, rgb_of(orv::draw::level_colour(3))},
        // Level 0: a thin dark line, no band beside it.
        {"level 0 beside", coverage::full, true, false, 100, 22, white},
        {"level 0 centre", coverage::full, true, false, 100, 20, casing},
        // Without pieces the whole road has its worst colour.
        {"whole", coverage::full, false, false, 100, 20, rgb_of(orv::draw::level_colour(3))},
        // The worst point's marker: dark in its middle, only when asked for.
        {"marker", coverage::full, true, true, 10, 20, 0x000000},
        {"no marker", coverage::full, true, false, 10, 20, rgb_of(orv::draw::level_colour(3))},
        {"too small to mark", coverage::full, false, true, 10, 20,
         rgb_of(orv::draw::level_colour(3)), true},
        // An object without a result keeps its grey (between two dashes).
        {"open", coverage::none, false, false, 69, 20, rgb_of(orv::draw::object_none)},
    };
    for (const auto& c : cases) {
        std::vector<map_object> objects = {road(c.cover, c.small)};
        EXPECT_EQ(drawn_at(objects, c.with_pieces ? &pieces : nullptr, c.worst, c.x, c.y), c.want)
            << c.name;
    }
}

} // namespace
