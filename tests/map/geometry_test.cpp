// Map geometry: cell counts and centres, readable sizes, decimals, the
// world frame and the rotated raster's extent.
#include <cmath>
#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "base/number_text.h"
#include "base/steps.h"
#include "draw/axes.h"
#include "map/axis.h"
#include "map/extent.h"
#include "map/frame.h"
#include "map/summary.h"

namespace {

using orv::map::axis;

TEST(MapAxis, CellCount) {
    struct row {
        double min, max, cell;
        std::optional<std::size_t> n;
    };
    const double nan = std::nan("");
    const std::vector<row> rows = {
        {0, 10, 1, 10},        {0, 10, 3, 4},        {0, 1, 0.1, 10},
        {0, 0.3, 0.1, 3},      {0, 0.7, 0.1, 7},     {-5, 5, 2.5, 4},
        {0, 10.5, 1, 11},      {2, 2.01, 1, 1},      {2, 2.0000000001, 1, {}},
        {-85, 85, 0.17, 1000}, {0, 10, 0, {}},       {5, 5, 1, {}},
        {5, 4, 1, {}},         {0, 1e6, 1, {}},      {0, 1e5, 1, 100000},
        {0, 1, nan, {}},       {0, INFINITY, 1, {}}, {0, 1, -1, {}},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.min << ":" << r.max << " / " << r.cell);
        EXPECT_EQ(orv::map::cell_count(r.min, r.max, r.cell), r.n);
    }
}

// Centres formed in double, then rounded once to a Real.
TEST(MapAxis, CentresRoundOnce) {
    const axis a = orv::map::make_axis(-85, 85, 0.17);
    ASSERT_EQ(a.n, 1000u);
    const std::vector<float> c = orv::map::centres(a);
    for (std::size_t i = 0; i < a.n; ++i)
        EXPECT_EQ(c[i], static_cast<float>(-85.0 + (static_cast<double>(i) + 0.5) * 0.17));
    EXPECT_DOUBLE_EQ(a.end(), -85 + 1000 * 0.17);
}

TEST(MapAxis, ReadableSizes) {
    const std::vector<std::pair<double, double>> rows = {
        {0.632, 0.5}, {0.8, 1},     {0.15, 0.2}, {3.3, 5}, {3.1, 2},     {7, 5},
        {7.5, 10},    {1e-3, 1e-3}, {250, 200},  {1, 1},   {0.04, 0.05}, {1e4, 1e4},
    };
    for (const auto& [raw, want] : rows) EXPECT_EQ(orv::step_nearest(raw), want) << raw;
}

TEST(MapAxis, DecimalsAndTicks) {
    const std::vector<std::pair<double, int>> dec = {{0, 0},   {5, 0},  {0.5, 1},  {0.25, 2},
                                                     {0.1, 1}, {-2, 0}, {0.05, 2}, {1.0 / 3, 6}};
    for (const auto& [v, d] : dec) EXPECT_EQ(orv::decimals(v), d) << v;
    EXPECT_EQ(orv::draw::tick_step(125, 5), 50);
    EXPECT_EQ(orv::draw::tick_step(316, 10), 50);
    EXPECT_EQ(orv::draw::tick_step(1, 4), 0.5);
    EXPECT_EQ(orv::draw::ticks(-158, 158, 50),
              (std::vector<double>{-150, -100, -50, 0, 50, 100, 150}));
    EXPECT_EQ(orv::draw::ticks(0.1, 0.35, 0.1),
              (std::vector<double>{0.1, 0.2, 0.30000000000000004}));
    EXPECT_EQ(orv::round_up_readable(9.3), 10);
    EXPECT_EQ(orv::round_up_readable(2.1), 2.5);
    EXPECT_EQ(orv::round_down_readable(49), 20);
    EXPECT_EQ(orv::round_down_readable(50), 50);
}

// The jet frame: the batch formula and its inverse, the direction conventions.
TEST(MapFrame, WorldToJet) {
    const orv::map::georef g{1000, 2000, 90};
    // Jet to the east: east of the breach is downstream, north is its left.
    const auto p = orv::map::to_jet(g, 1010, 2000);
    EXPECT_NEAR(p.x, 10, 1e-12);
    EXPECT_NEAR(p.y, 0, 1e-12);
    const auto q = orv::map::to_jet(g, 1000, 2005);
    EXPECT_NEAR(q.x, 0, 1e-12);
    EXPECT_NEAR(q.y, 5, 1e-12);
    const orv::map::georef n{0, 0, 0};
    const auto w = orv::map::to_jet(n, -3, 0); // jet to the north, west is left
    EXPECT_NEAR(w.y, 3, 1e-12);
}

// The rotated raster covers the bounding box of the map's corners, widened
// to the lattice of its cell size; its centres are the lattice points.
TEST(MapFrame, CoverBoundingBox) {
    struct row {
        double az;
        double e0, e1, n0, n1;
    };
    const axis x = orv::map::make_axis(0, 100, 2);
    const axis y = orv::map::make_axis(-20, 30, 2);
    const double s = std::sqrt(0.5);
    const std::vector<row> rows = {
        {0, -30, 20, 0, 100},
        {90, 0, 100, -20, 30},
        {180, -20, 30, -100, 0},
        {45, -30 * s, 100 * s + 20 * s, -20 * s, 100 * s + 30 * s},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.az);
        const orv::map::world_raster w = orv::map::cover({500.5, 700.25, r.az}, x, y);
        const double k0 = std::floor((500.5 + r.e0) / 2 + 1e-9);
        const double m0 = std::ceil((700.25 + r.n1) / 2 - 1e-9);
        EXPECT_EQ(w.gt[0], 2 * k0);
        EXPECT_EQ(w.gt[3], 2 * m0);
        EXPECT_EQ(w.gt[1], 2);
        EXPECT_EQ(w.gt[5], -2);
        EXPECT_EQ(w.gt[2], 0);
        EXPECT_EQ(w.gt[4], 0);
        EXPECT_EQ(w.nx, std::ceil((500.5 + r.e1) / 2 - 1e-9) - k0);
        EXPECT_EQ(w.ny, m0 - std::floor((700.25 + r.n0) / 2 + 1e-9));
        EXPECT_EQ(w.east(3), (k0 + 3 + 0.5) * 2);
        EXPECT_EQ(w.north(3), (m0 - 4 + 0.5) * 2);
    }
}

TEST(MapFrame, InsideInDouble) {
    const axis x = orv::map::make_axis(0, 100, 2);
    const axis y = orv::map::make_axis(-20, 30, 2);
    EXPECT_TRUE(orv::map::inside({0, 0}, x, y));
    EXPECT_FALSE(orv::map::inside({-1e-300, 0}, x, y));
    EXPECT_TRUE(orv::map::inside({1e-300, 0}, x, y));
    EXPECT_TRUE(orv::map::inside({100, 30}, x, y));
    EXPECT_FALSE(orv::map::inside({100.00000000000001, 0}, x, y));
    EXPECT_TRUE(orv::map::inside({50, -20}, x, y));
    EXPECT_FALSE(orv::map::inside({50, -20.000000000000004}, x, y));
}

} // namespace
