// Both map pictures drawn into an image: each level's colour in a swatch of
// the legend, the rows in their order, labels beside the swatches, and the
// world map's north arrow.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <cairo.h>
#include <gtest/gtest.h>

#include "draw/map_picture.h"
#include "draw/page.h"
#include "draw/style.h"
#include "draw/world_map.h"

namespace {

// A grid of 40 x 20 cells of 10 m: levels 3, 2, 1 and 0 in bands of ten
// columns, the last column beyond the tables.
struct grid {
    orv::map::map_image image;
    orv::draw::map_view view;
    grid() {
        image.w = 40, image.h = 20;
        for (std::size_t j = 0; j < image.h; ++j)
            for (std::size_t i = 0; i < image.w; ++i)
                image.level.push_back(static_cast<int8_t>(i < 30 ? 3 - i / 10 : 0));
        image.value.assign(image.w * image.h, 0.0f);
        view.site = {8, 20, 60000, 6, 0.1f};
        view.x = orv::map::make_axis(0, 400, 10);
        view.y = orv::map::make_axis(-100, 100, 10);
        view.image = &image;
        view.column_status.assign(image.w, 0);
        view.column_status.back() = 2;
    }
};

// An image surface on a white ground, freed with the object.
struct picture {
    cairo_surface_t* s;
    int w, h;
    picture(int width, int height, const std::function<void(cairo_t*)>& draw)
        : s(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)), w(width), h(height) {
        cairo_t* cr = cairo_create(s);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_paint(cr);
        draw(cr);
        cairo_destroy(cr);
        cairo_surface_flush(s);
    }
    ~picture() { cairo_surface_destroy(s); }
    uint32_t at(int x, int y) const {
        const unsigned char* row =
            cairo_image_surface_get_data(s) +
            static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(s);
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xffffff;
    }
};

// The box of the pixels for which keep holds, in columns x0 to x1 and rows
// y0 to y1 (both excluded at their ends); x1 < x0 when there is none.
struct box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    int count = 0;
};
box find(const picture& p, int x0, int x1, int y0, int y1,
         const std::function<bool(uint32_t)>& keep) {
    box b;
    for (int y = std::max(0, y0); y < std::min(p.h, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(p.w, x1); ++x) {
            if (!keep(p.at(x, y))) continue;
            b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x);
            b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
            ++b.count;
        }
    return b;
}

uint32_t rgb_of(const orv::draw::rgb& c) {
    return orv::draw::pixel(c) & 0xffffff;
}

// c within 2 of want in each channel: colours that are no multiples of
// 1/255 may round either way.
bool near(uint32_t c, uint32_t want) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>(c >> shift & 0xff) - static_cast<int>(want >> shift & 0xff)) >
            2)
            return false;
    return true;
}

bool dark(uint32_t c) {
    return (c >> 16 & 0xff) < 0x50 && (c >> 8 & 0xff) < 0x50 && (c & 0xff) < 0x50;
}

// One picture to look at: drawn at width x height, its text unit, and the
// column right of which only the legend lies.
struct subject {
    const char* name;
    int width, height;
    double u;
    std::function<void(cairo_t*)> draw;
    double legend_from;
};

// The swatches of levels 3, 2, 1 are the rightmost pixels of their colours:
// each 1.7 x 1.1 units inside its frame, one above the other in one column,
// its label beside it; the zones without a result and the breach below.
void check_legend(const subject& s) {
    SCOPED_TRACE(s.name);
    const picture p(s.width, s.height, s.draw);
    const double u = s.u;
    box level[4];
    for (int k = 3; k >= 1; --k) {
        const uint32_t c = rgb_of(orv::draw::level_colour(k));
        const box all = find(p, 0, p.w, 0, p.h, [&](uint32_t v) { return v == c; });
        ASSERT_GT(all.count, 0) << "level " << k;
        const int band = static_cast<int>(all.x1 - 2.5 * u);
        level[k] = find(p, band, p.w, 0, p.h, [&](uint32_t v) { return v == c; });
        const box& b = level[k];
        EXPECT_GT(b.x0, s.legend_from) << "level " << k;
        EXPECT_NEAR(b.x1 - b.x0 + 1, 1.7 * u, 0.25 * u) << "level " << k;
        EXPECT_NEAR(b.y1 - b.y0 + 1, 1.1 * u, 0.25 * u) << "level " << k;
        EXPECT_GT(b.count, 0.8 * (b.x1 - b.x0 + 1) * (b.y1 - b.y0 + 1)) << "level " << k;
        const box label = find(p, static_cast<int>(b.x1 + 0.3 * u), p.w, b.y0, b.y1 + 1, dark);
        EXPECT_GT(label.count, 10) << "no label beside level " << k;
    }
    for (int k = 3; k >= 2; --k) {
        EXPECT_LT(level[k].y1, level[k - 1].y0) << "level " << k;
        EXPECT_NEAR(level[k].x0, level[1].x0, 1) << "level " << k;
    }
    const int x0 = level[1].x0, x1 = level[1].x1 + 1, below = level[1].y1 + 1;
    // The breach bar below the levels, and between them the two hatched
    // swatches of the zones without a result, their grounds between the lines.
    const uint32_t blue = rgb_of(orv::draw::breach_colour);
    const box breach = find(p, x0, x1, below, p.h, [&](uint32_t v) { return near(v, blue); });
    ASSERT_GT(breach.count, 0) << "no breach below the levels";
    const uint32_t ground = rgb_of(orv::draw::no_result_ground);
    const box none = find(p, x0, x1, below, breach.y0, [&](uint32_t v) { return near(v, ground); });
    EXPECT_GT(none.count, 0.5 * (x1 - x0) * u) << "no hatched swatches above the breach";
    const box words = find(p, x1, p.w, level[3].y0, p.h, dark);
    EXPECT_GT(words.count, 40 * u) << "legend text";
}

TEST(MapPicture, LegendRowsOfBothPictures) {
    static const grid g;
    const orv::draw::page pg = orv::draw::make_page(900, 560);
    orv::draw::world_view wv;
    wv.jet = g.view;
    wv.g = {2600000, 1200000, 90};
    wv.crs_name = "Landeskoordinaten";
    const orv::draw::world_frame wf =
        orv::draw::place_world(900, 620, {2599900, 1199800, 2600500, 1200200});
    const std::vector<subject> subjects = {
        {"map", 900, 560, pg.u, [&](cairo_t* cr) { orv::draw::draw_map(cr, 900, 560, g.view); },
         450},
        {"world map", 900, 620, orv::draw::unit_of(900, 620),
         [&](cairo_t* cr) { orv::draw::draw_world_map(cr, 900, 620, wf, wv); }, wf.ox + wf.mw},
    };
    for (const subject& s : subjects) check_legend(s);
}

// The north arrow in the map's upper right corner, over white ground: dark
// in a good part of its box, white above its tip.
TEST(MapPicture, WorldMapNorthArrow) {
    static const grid g;
    orv::draw::world_view wv;
    wv.jet = g.view;
    wv.g = {2600000, 1200000, 90};
    const int w = 900, h = 620;
    const orv::draw::world_frame f =
        orv::draw::place_world(w, h, {2599900, 1199800, 2600500, 1200200});
    const picture p(w, h, [&](cairo_t* cr) { orv::draw::draw_world_map(cr, w, h, f, wv); });
    const double u = orv::draw::unit_of(w, h), size = 3.2 * u;
    const double tx = f.ox + f.mw - 1.8 * u, ty = f.oy + 0.9 * u;
    const int x0 = static_cast<int>(tx - 0.32 * size), x1 = static_cast<int>(tx + 0.32 * size);
    const box arrow =
        find(p, x0, x1, static_cast<int>(ty), static_cast<int>(ty + 0.7 * size), dark);
    const double area = (x1 - x0) * 0.7 * size;
    EXPECT_GT(arrow.count, 0.2 * area);
    EXPECT_NEAR((arrow.x0 + arrow.x1) / 2.0, tx, 2);
    const box above = find(p, x0, x1, static_cast<int>(f.oy + 2), static_cast<int>(ty - 2), dark);
    EXPECT_EQ(above.count, 0);
}

} // namespace
