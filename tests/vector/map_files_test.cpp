// A map run with its files: each file written where asked, and a file that
// cannot be written named as the one that failed.
#include <string>
#include <sys/stat.h>
#include <vector>

#include <gtest/gtest.h>

#include "geo/context.h"
#include "map/axis.h"
#include "model/stages.h"
#include "vector/map_files.h"
#include "support/command.h"

namespace {

using orv::vector::map_file;

bool exists(const std::string& path) {
    struct stat st;
    return !path.empty() && stat(path.c_str(), &st) == 0;
}

TEST(MapFiles, EachFileOrTheOneThatFailed) {
    orv::geo::register_drivers();
    const std::string d = orv::test::scratch_dir();
    const std::string gone = d + "/no/such/folder";
    struct row {
        std::string raster, levels, zones;
        map_file failed;
    };
    const std::vector<row> rows = {
        {"", "", "", map_file::none},
        {d + "/a.tif", "", "", map_file::none},
        {"", d + "/b.tif", d + "/b.gpkg", map_file::none},
        {d + "/c.tif", d + "/c_levels.tif", d + "/c.gpkg", map_file::none},
        {gone + "/r.tif", d + "/d.tif", "", map_file::raster},
        {d + "/e.tif", gone + "/l.tif", d + "/e.gpkg", map_file::levels},
        {"", d + "/f.tif", gone + "/z.gpkg", map_file::zones},
    };
    orv::map::map_request rq;
    rq.s = orv::make_site(orv::params{});
    rq.grid = {orv::map::make_axis(0, 200, 5), orv::map::make_axis(-40, 40, 5)};
    rq.threads = 1;
    for (const row& r : rows) {
        SCOPED_TRACE(r.raster + " " + r.levels + " " + r.zones);
        orv::vector::map_files f;
        f.raster = r.raster, f.raster_driver = "GTiff";
        f.levels = r.levels, f.level_driver = "GTiff";
        f.zones = r.zones, f.zone_driver = "GPKG";
        orv::map::map_result res;
        const orv::vector::map_files_outcome o = orv::vector::run_map_files(rq, f, res);
        EXPECT_EQ(o.failed, r.failed) << o.why;
        EXPECT_EQ(o.why.empty(), r.failed == map_file::none) << o.why;
        if (r.failed != map_file::none) continue;
        EXPECT_EQ(res.columns.size(), rq.grid.x.n);
        for (const std::string& p : {r.raster, r.levels, r.zones}) {
            if (!p.empty()) {
                EXPECT_TRUE(exists(p)) << p;
            }
        }
    }
}

} // namespace
