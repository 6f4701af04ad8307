// The automatic extent: the table range of a site and the chosen grid.
#include <cmath>

#include <gtest/gtest.h>

#include "map/extent.h"
#include "support/random_params.h"

namespace {

// The Real next below f.
float below(float f) {
    return std::nextafter(f, -INFINITY);
}

// Near and far are the first Reals of their statuses: the default site and
// random plausible sites.
TEST(MapExtent, TableRangeIsExact) {
    orv::test::random_params rnd(17);
    for (int k = 0; k < 200; ++k) {
        orv::params p;
        if (k > 0)
            p = {rnd.in(0.5f, 20), rnd.in(1, 100), std::exp(rnd.in(2, 14)), rnd.in(0.25f, 16),
                 rnd.in(0.01f, 1)};
        SCOPED_TRACE(k);
        const orv::site s = orv::make_site(p);
        const auto t = orv::map::find_table_range(s);
        ASSERT_TRUE(t);
        const auto near = static_cast<float>(t->near), far = static_cast<float>(t->far);
        EXPECT_EQ(orv::make_station(s, below(near)).st, 1);
        EXPECT_EQ(orv::make_station(s, near).st, 0);
        EXPECT_EQ(orv::make_station(s, below(far)).st, 0);
        EXPECT_EQ(orv::make_station(s, far).st, 2);
    }
    // The default site: the first result where x reaches the reference length.
    const auto t = orv::map::find_table_range(orv::make_site(orv::params{}));
    ASSERT_TRUE(t);
    EXPECT_FLOAT_EQ(static_cast<float>(t->near), 7.0710678f);
}

TEST(MapExtent, DefaultGrid) {
    const orv::site s = orv::make_site(orv::params{});
    const auto t = orv::map::find_table_range(s);
    const auto g = orv::map::choose_grid(s, {});
    ASSERT_TRUE(g && t);
    EXPECT_EQ(g->x.min, 0);
    EXPECT_EQ(g->x.cell, 0.5);
    EXPECT_EQ(g->y.cell, 0.5);
    // Past the end of the tables by 3 %, ending on a whole cell.
    EXPECT_GE(g->x.max, t->far * 1.03);
    EXPECT_LT(g->x.max, t->far * 1.03 + 0.5);
    EXPECT_EQ(g->x.max, g->x.n * 0.5);
    // Symmetric, 1.1 times the widest jet, whole cells.
    EXPECT_EQ(g->y.min, -g->y.max);
    const double w = orv::map::jet_half_width(s, t->near, t->far) * 1.1;
    EXPECT_GE(g->y.max, w);
    EXPECT_LT(g->y.max, w + 0.5);
    // About 500 cells along the longer side.
    EXPECT_GT(std::max(g->x.n, g->y.n), 300u);
    EXPECT_LT(std::max(g->x.n, g->y.n), 800u);
}

// Given parts are kept; the cell follows the given ranges.
TEST(MapExtent, GivenPartsKept) {
    const orv::site s = orv::make_site(orv::params{});
    const auto g = orv::map::choose_grid(s, {orv::map::range{10, 60}, orv::map::range{-5, 20}, {}});
    ASSERT_TRUE(g);
    EXPECT_EQ(g->x.min, 10);
    EXPECT_EQ(g->x.max, 60);
    EXPECT_EQ(g->y.min, -5);
    EXPECT_EQ(g->y.max, 20);
    EXPECT_EQ(g->x.cell, 0.1); // 50 m / 500 cells
    const auto c = orv::map::choose_grid(s, {{}, {}, 2.0});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->x.cell, 2);
    EXPECT_EQ(std::fmod(c->x.max, 2), 0);
    EXPECT_EQ(std::fmod(c->y.max, 2), 0);
}

// A site whose distances never leave the near zone has no automatic extent.
TEST(MapExtent, DegenerateSite) {
    orv::params p;
    p.h = 1e30f;
    EXPECT_FALSE(orv::map::find_table_range(orv::make_site(p)));
    EXPECT_FALSE(orv::map::choose_grid(orv::make_site(p), {}));
    EXPECT_TRUE(orv::map::choose_grid(orv::make_site(p),
                                      {orv::map::range{1, 2}, orv::map::range{1, 2}, 0.5}));
}

} // namespace
