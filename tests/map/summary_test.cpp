// Summary figures on small grids worked out by hand, as text and JSON.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "map/summary.h"

namespace {

using orv::map::axis;

// A summary of a grid whose levels are given row by row (j = 0 first),
// handed over in strips of rows_per_strip rows.
orv::map::figures summarise(const axis& x, const axis& y, const std::vector<int32_t>& col,
                            const std::vector<std::vector<int>>& levels,
                            std::size_t rows_per_strip) {
    orv::map::summary_sink sum(x, y, col);
    for (std::size_t j0 = 0; j0 < levels.size(); j0 += rows_per_strip) {
        orv::map::strip b;
        b.resize(std::min(rows_per_strip, levels.size() - j0), x.n);
        b.j0 = j0;
        for (std::size_t r = 0; r < b.rows; ++r)
            for (std::size_t i = 0; i < x.n; ++i)
                b.level[r * x.n + i] = static_cast<int8_t>(levels[j0 + r][i]);
        sum.take(b);
    }
    return sum.result();
}

// Six columns of 1 m from x = 0 (near zone first, beyond the tables last),
// four rows from y = -2. By hand:
//   level >= 1: 10 cells, furthest centre 4.5 beside the column beyond the
//     tables (open), widest |y| 1.5 in the bottom row reaching below 0 (open);
//   level >= 2: 5 cells, to x 3.5 + 0.5, |y| 0.5 + 0.5, area beside the
//     near zone (open);
//   level 3: 2 cells in column 1, beside the near zone.
const axis hand_x = orv::map::make_axis(0, 6, 1);
const axis hand_y = orv::map::make_axis(-2, 2, 1);
const std::vector<int32_t> hand_col = {1, 0, 0, 0, 0, 2};
const std::vector<std::vector<int>> hand_levels = {
    {-1, 1, 1, 0, 0, -1},
    {-1, 3, 2, 1, 0, -1},
    {-1, 3, 2, 2, 1, -1},
    {-1, 1, 0, 0, 0, -1},
};

TEST(MapSummary, FiguresByHand) {
    for (std::size_t rows : {1u, 2u, 4u}) {
        const auto f = summarise(hand_x, hand_y, hand_col, hand_levels, rows);
        struct want {
            std::size_t cells;
            double reach, width, area;
            bool ro, wo, ao;
        };
        const want w[3] = {{10, 5.0, 2.0, 10, true, true, true},
                           {5, 4.0, 1.0, 5, false, false, true},
                           {2, 2.0, 1.0, 2, false, false, true}};
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(testing::Message() << "rows " << rows << " level " << k + 1);
            const orv::map::zone& z = f.zones[k];
            EXPECT_EQ(z.cells, w[k].cells);
            EXPECT_EQ(z.reach, w[k].reach);
            EXPECT_EQ(z.half_width, w[k].width);
            EXPECT_EQ(z.area, w[k].area);
            EXPECT_EQ(z.reach_open, w[k].ro);
            EXPECT_EQ(z.width_open, w[k].wo);
            EXPECT_EQ(z.area_open, w[k].ao);
        }
        EXPECT_EQ(f.none.near_columns, 1u);
        EXPECT_EQ(f.none.near_end, 1.0);
        EXPECT_EQ(f.none.far_columns, 1u);
        EXPECT_EQ(f.none.far_start, 5.0);
    }
}

TEST(MapSummary, TextAndJson) {
    const auto f = summarise(hand_x, hand_y, hand_col, hand_levels, 4);
    const orv::map::summary_input in{orv::params{}, orv::levels{}, hand_x, hand_y, false, 1};
    EXPECT_EQ(orv::map::summary_text(in, f),
              "Gefahrenkarte fuer H = 5 m, B = 10 m, Vol = 4000 m3, S = 1 %, D = 0.15 m\n"
              "Raster: x von 0 bis 6 m, y von -2 bis 2 m, Zellgroesse 1 m (6 x 4 Zellen)\n"
              "Stufe 1 und hoeher (h > 0.5 m oder q > 0.5 m2/s):\n"
              "  Reichweite:  mindestens x = 5.0 m\n"
              "  Halbbreite:  mindestens 2.0 m\n"
              "  Flaeche:     mindestens 10 m2 (10 Zellen)\n"
              "Stufe 2 und hoeher (h > 1 m oder q > 1 m2/s):\n"
              "  Reichweite:  x = 4.0 m\n"
              "  Halbbreite:  1.0 m\n"
              "  Flaeche:     mindestens 5 m2 (5 Zellen)\n"
              "Stufe 3 (h > 2 m oder q > 2 m2/s):\n"
              "  Reichweite:  x = 2.0 m\n"
              "  Halbbreite:  1.0 m\n"
              "  Flaeche:     mindestens 2 m2 (2 Zellen)\n"
              "Nahbereich ohne Ergebnis (Status 1): bis x = 1.0 m\n"
              "Jenseits der Tabellen ohne Ergebnis (Status 2): ab x = 5.0 m\n"
              "Nicht berechnet heisst nicht: keine Gefahr.\n"
              "Die Angaben gelten fuer die gewaehlte Zellgroesse von 1 m; mit einer anderen "
              "Zellgroesse weichen sie ab.\n");
    EXPECT_EQ(orv::map::summary_json(in, f),
              "{\n"
              "  \"site\": {\"H\": 5, \"B\": 10, \"Vol\": 4000, \"S\": 1, \"D\": 0.15},\n"
              "  \"slope_corrected\": false,\n"
              "  \"grid\": {\"x_min\": 0, \"x_max\": 6, \"y_min\": -2, \"y_max\": 2, \"cell\": 1, "
              "\"nx\": 6, \"ny\": 4},\n"
              "  \"levels\": [0.5, 1, 2],\n"
              "  \"zones\": [\n"
              "    {\"level\": 1, \"cells\": 10, \"reach\": 5.0, \"reach_at_least\": true, "
              "\"half_width\": 2.0, \"half_width_at_least\": true, \"area\": 10, "
              "\"area_at_least\": true},\n"
              "    {\"level\": 2, \"cells\": 5, \"reach\": 4.0, \"reach_at_least\": false, "
              "\"half_width\": 1.0, \"half_width_at_least\": false, \"area\": 5, "
              "\"area_at_least\": true},\n"
              "    {\"level\": 3, \"cells\": 2, \"reach\": 2.0, \"reach_at_least\": false, "
              "\"half_width\": 1.0, \"half_width_at_least\": false, \"area\": 2, "
              "\"area_at_least\": true}\n"
              "  ],\n"
              "  \"near_zone\": {\"x_end\": 1.0},\n"
              "  \"far_zone\": {\"x_start\": 5.0}\n"
              "}\n");
}

// A grid one-sided in y (the zone reaches its lower edge at y > 0, which
// does not limit |y|), no zone of level 3, no columns without a result,
// half-metre cells; a corrected slope is named.
TEST(MapSummary, OneSidedGridWithoutLevelThree) {
    const axis x = orv::map::make_axis(10, 12, 0.5);
    const axis y = orv::map::make_axis(5, 6.5, 0.5);
    const std::vector<std::vector<int>> lv = {
        {2, 1, 0, 0},
        {1, 1, 0, 0},
        {0, 0, 0, 0},
    };
    const auto f = summarise(x, y, {0, 0, 0, 0}, lv, 3);
    EXPECT_EQ(f.zones[0].cells, 4u);
    EXPECT_EQ(f.zones[0].reach, 11.0);     // centre 10.75 + 0.25
    EXPECT_EQ(f.zones[0].half_width, 6.0); // centre 5.75 + 0.25
    EXPECT_FALSE(f.zones[0].reach_open);
    EXPECT_FALSE(f.zones[0].width_open);
    EXPECT_TRUE(f.zones[0].area_open); // first column and first row
    EXPECT_EQ(f.zones[0].area, 1.0);
    EXPECT_EQ(f.zones[1].cells, 1u);
    EXPECT_EQ(f.zones[2].cells, 0u);
    orv::params p;
    p.slp = 16;
    const orv::map::summary_input in{p, orv::levels{}, x, y, true, 20};
    const std::string t = orv::map::summary_text(in, f);
    EXPECT_NE(t.find("S = 16 % (korrigiert von 20 %)"), std::string::npos);
    EXPECT_NE(t.find("Stufe 3 (h > 2 m oder q > 2 m2/s):\n  keine Zelle\n"), std::string::npos);
    EXPECT_NE(t.find("  Reichweite:  x = 11.00 m\n"), std::string::npos);
    EXPECT_NE(t.find("  Flaeche:     mindestens 1.00 m2 (4 Zellen)\n"), std::string::npos);
    EXPECT_NE(t.find("(Status 1): keiner im Raster\n"), std::string::npos);
    EXPECT_NE(t.find("(Status 2): keiner im Raster\n"), std::string::npos);
    const std::string j = orv::map::summary_json(in, f);
    EXPECT_NE(j.find("{\"level\": 3, \"cells\": 0, \"reach\": null"), std::string::npos);
    EXPECT_NE(j.find("\"near_zone\": null,\n  \"far_zone\": null\n"), std::string::npos);
    EXPECT_NE(j.find("\"slope_corrected\": true"), std::string::npos);
}

// A range that is no whole number of cells, cells so small that their
// figures show as 0 in six decimals, a world raster: the summary states the
// grown extent, the figures as the shortest text that reads back, the world
// bounds; a figure that is not finite cannot go into JSON.
TEST(MapSummary, RealExtentTinyFiguresWorldBounds) {
    const axis x = orv::map::make_axis(0, 3.5e-7, 1e-7);
    const axis y = orv::map::make_axis(-1e-7, 1e-7, 1e-7);
    const auto f = summarise(x, y, {1, 0, 0, 2}, {{-1, 1, 0, -1}, {-1, 1, 1, -1}}, 2);
    const orv::map::world_raster w{{2600000, 0.5, 0, 1200000, 0, -0.5}, 3, 2};
    orv::map::summary_input in{orv::params{}, orv::levels{}, x, y, false, 1};
    in.world = &w;
    const std::string t = orv::map::summary_text(in, f);
    for (const char* want : {"Raster: x von 0 bis 4e-07 m, y von -1e-07 bis 1e-07 m",
                             "Weltraster: E von 2600000 bis 2600001.5, N von 1199999 bis 1200000 "
                             "(3 x 2 Zellen)\n",
                             "(Status 1): bis x = 1e-07 m\n"})
        EXPECT_NE(t.find(want), std::string::npos) << want << "\n" << t;
    EXPECT_EQ(t.find("0.000000"), std::string::npos) << t;
    const std::string j = orv::map::summary_json(in, f);
    for (const char* want : {"\"x_max\": 4e-07,",
                             "\"world_raster\": {\"e_min\": 2600000, "
                             "\"e_max\": 2600001.5, \"n_min\": 1199999, "
                             "\"n_max\": 1200000, \"nx\": 3, \"ny\": 2},",
                             "\"near_zone\": {\"x_end\": 1e-07}"})
        EXPECT_NE(j.find(want), std::string::npos) << want << "\n" << j;
    EXPECT_EQ(orv::map::unwritable_json(in, f), nullptr);
    const axis huge = orv::map::make_axis(0, 1.7e308, 1e308);
    in.x = huge;
    EXPECT_STREQ(orv::map::unwritable_json(in, f), "x_max");
}

} // namespace
