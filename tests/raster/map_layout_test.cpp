// Where a map's rasters lie: the world raster when georeferenced, else the
// jet frame's grid with its rows bottom up.
#include <gtest/gtest.h>

#include "map/axis.h"
#include "map/extent.h"
#include "map/frame.h"
#include "raster/map_layout.h"

namespace {

TEST(MapLayout, WorldOrJetFrame) {
    const orv::map::map_grid grid{orv::map::make_axis(0, 100, 2), orv::map::make_axis(-20, 30, 2)};
    const orv::map::world_raster world = orv::map::cover({2600000, 1200000, 30}, grid.x, grid.y);
    struct row {
        const orv::map::world_raster* world;
        double gt[6];
        std::size_t nx, ny;
        const char* wkt;
        bool bottom_up;
    };
    const row rows[] = {
        {nullptr, {0, 2, 0, 30, 0, -2}, 50, 25, "", true},
        {&world,
         {world.gt[0], world.gt[1], world.gt[2], world.gt[3], world.gt[4], world.gt[5]},
         world.nx,
         world.ny,
         "WKT",
         false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.bottom_up);
        const orv::raster::raster_layout l = orv::raster::map_layout(grid, r.world, "WKT");
        for (int k = 0; k < 6; ++k) EXPECT_EQ(l.gt[k], r.gt[k]) << k;
        EXPECT_EQ(l.nx, r.nx);
        EXPECT_EQ(l.ny, r.ny);
        EXPECT_EQ(l.wkt, r.wkt);
        EXPECT_EQ(l.bottom_up, r.bottom_up);
    }
}

} // namespace
