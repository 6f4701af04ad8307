// Placing labels: by rank, off each other, off the marks, off the lines
// where there is room, inside the map; and which strokes touch a box.
#include <cstddef>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "draw/labels.h"

namespace {

using orv::draw::label_room;
using orv::draw::label_wish;
using orv::draw::page_box;
using orv::draw::place_labels;
using orv::draw::stroke;
using orv::draw::touches;

TEST(Labels, WhichStrokesTouchABox) {
    const page_box b{10, 10, 20, 20};
    const struct {
        stroke s;
        bool touches;
        const char* what;
    } cases[] = {
        {{0, 15, 30, 15, 0}, true, "straight through"},
        {{15, 15, 40, 40, 0}, true, "from inside out"},
        {{0, 0, 30, 30, 0}, true, "through the corners' diagonal"},
        {{0, 25, 30, 25, 0}, false, "above, parallel"},
        {{0, 25, 30, 25, 5.5}, true, "above, but wide enough"},
        {{25, 0, 25, 30, 4}, false, "right, not wide enough"},
        {{0, 45, 45, 0, 0}, false, "diagonal past the corner"},
        {{0, 40, 40, 0, 0}, true, "diagonal through the corner"},
        {{30, 30, 30, 30, 0}, false, "a point outside"},
        {{12, 12, 12, 12, 0}, true, "a point inside"},
    };
    for (const auto& c : cases) EXPECT_EQ(touches(c.s, b), c.touches) << c.what;
}

// Whether a box lies inside the room, off its marks and off the others.
void expect_sound(const std::vector<std::optional<page_box>>& got, const label_room& room) {
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (!got[i]) continue;
        const page_box& b = *got[i];
        EXPECT_TRUE(b.x0 >= room.inside.x0 && b.y0 >= room.inside.y0 && b.x1 <= room.inside.x1 &&
                    b.y1 <= room.inside.y1)
            << i;
        for (const stroke& s : room.marks) EXPECT_FALSE(touches(s, b)) << i;
        for (const page_box& m : room.mark_boxes) EXPECT_FALSE(m.overlaps(b)) << i;
        for (std::size_t j = i + 1; j < got.size(); ++j)
            if (got[j]) {
                EXPECT_FALSE(b.overlaps(*got[j])) << i << " and " << j;
            }
    }
}

TEST(Labels, PlacedByRankOffEachOtherAndTheMarks) {
    label_room open;
    open.inside = {0, 0, 400, 300};
    open.gap = 6;
    label_room arrow = open; // the jet's arrow right of the anchors
    arrow.marks.push_back({105, 100, 200, 100, 4});
    label_room corner = open; // the north arrow over the anchor and above it
    corner.mark_boxes.push_back({0, 0, 110, 102});
    label_room tight; // room for one label only, right of the anchor
    tight.inside = {100, 90, 170, 110};
    tight.gap = 6;
    const struct {
        const char* what;
        label_room room;
        std::vector<label_wish> wishes;
        std::vector<bool> placed;
    } cases[] = {
        {"one free label", open, {{100, 100, 60, 10, 1, 0}}, {true}},
        {"three at one anchor share it", open,
         {{100, 100, 60, 10, 1, 0}, {100, 100, 60, 10, 1, 0}, {100, 100, 60, 10, 1, 0}},
         {true, true, true}},
        {"the arrow pushes the label off its right", arrow, {{100, 100, 60, 10, 2, 1}}, {true}},
        {"the north arrow leaves the spot below", corner, {{100, 100, 60, 10, 0, 0}}, {true}},
        {"an anchor on the arrow: the label moves off it", arrow, {{130, 100, 60, 10, 3, 1}},
         {true}},
        {"endangered wins over level 0 in the crowd", tight,
         {{100, 100, 60, 10, 0, 0}, {100, 100, 60, 10, 2, 0.5}}, {false, true}},
        {"deeper wins among equal levels", tight,
         {{100, 100, 60, 10, 1, 0.2}, {100, 100, 60, 10, 1, 0.9}}, {false, true}},
        {"equal rank: the first wins", tight,
         {{100, 100, 60, 10, 1, 0.5}, {100, 100, 60, 10, 1, 0.5}}, {true, false}},
        {"no spot inside the map", tight, {{100, 100, 200, 10, 3, 1}}, {false}},
    };
    for (const auto& c : cases) {
        const auto got = place_labels(c.wishes, c.room);
        ASSERT_EQ(got.size(), c.wishes.size()) << c.what;
        for (std::size_t k = 0; k < got.size(); ++k)
            EXPECT_EQ(got[k].has_value(), c.placed[k]) << c.what << ", label " << k;
        expect_sound(got, c.room);
    }
}

TEST(Labels, LinesAvoidedWhereThereIsRoomOnly) {
    label_room r;
    r.inside = {0, 0, 400, 300};
    r.gap = 6;
    const label_wish w{100, 100, 60, 10, 1, 0};
    // A road along the anchor's row: the label goes above or below it.
    label_room road = r;
    road.lines.push_back({0, 100, 400, 100, 1});
    const auto a = place_labels({w}, road);
    ASSERT_TRUE(a[0]);
    EXPECT_FALSE(touches(road.lines[0], *a[0]));
    // Roads crossing every spot: the label is still written, not dropped.
    label_room dense = r;
    for (double y = 80; y <= 120; y += 4) dense.lines.push_back({0, y, 400, y, 1});
    for (double x = 30; x <= 170; x += 4) dense.lines.push_back({x, 0, x, 300, 1});
    const auto b = place_labels({w}, dense);
    EXPECT_TRUE(b[0]);
}

TEST(Labels, ACrowdNeverOverlaps) {
    label_room r;
    r.inside = {0, 0, 300, 200};
    r.gap = 5;
    r.marks.push_back({20, 100, 120, 100, 4});
    std::vector<label_wish> ws;
    for (int k = 0; k < 120; ++k)
        ws.push_back({20.0 + (k % 12) * 22, 20.0 + (k / 12) * 17, 40, 9, k % 4, 0.01 * k});
    const auto got = place_labels(ws, r);
    std::size_t placed = 0;
    for (const auto& g : got) placed += g.has_value();
    EXPECT_GT(placed, 20u);
    EXPECT_LT(placed, ws.size());
    expect_sound(got, r);
    // The higher levels are served first, so they keep more of their labels.
    std::size_t got_of[4] = {0, 0, 0, 0};
    for (std::size_t k = 0; k < ws.size(); ++k) got_of[ws[k].level] += got[k].has_value();
    EXPECT_GT(got_of[3], got_of[0]);
    EXPECT_GE(got_of[3], got_of[2]);
    EXPECT_GE(got_of[2], got_of[1]);
}

} // namespace
