// The object index against sampling every object: for dams of every size
// and direction among points, lines and polygons near and far, the counts
// per level and the open objects must be the same.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "inventory/objects.h"
#include "support/command.h"

namespace {

using namespace orv;

TEST(InventoryObjects, IndexCountsEqualSamplingEveryObject) {
    const std::string dir = test::scratch_dir();
    std::mt19937_64 rnd(7);
    std::uniform_real_distribution<double> u(0, 1);
    const double e0 = 2600000, n0 = 1200000, side = 6000;
    std::string csv = "WKT,id\n";
    for (int k = 0; k < 3000; ++k) {
        const double e = e0 + side * u(rnd), n = n0 + side * u(rnd);
        char b[200];
        if (k % 3 == 0) {
            std::snprintf(b, sizeof b, "\"POINT (%.3f %.3f)\",%d\n", e, n, k);
        } else if (k % 3 == 1) {
            const double t = 2 * M_PI * u(rnd);
            std::snprintf(b, sizeof b, "\"LINESTRING (%.3f %.3f,%.3f %.3f)\",%d\n", e, n,
                          e + 60 * std::cos(t), n + 60 * std::sin(t), k);
        } else {
            std::snprintf(b, sizeof b,
                          "\"POLYGON ((%.3f %.3f,%.3f %.3f,%.3f %.3f,%.3f %.3f,%.3f %.3f))\",%d\n",
                          e, n, e + 12, n, e + 12, n + 9, e, n + 9, e, n, k);
        }
        csv += b;
    }
    test::write_file(dir + "/objekte.csv", csv);
    inventory::object_index idx;
    std::string why;
    assess::source_request src;
    src.paths = {dir + "/objekte.csv"};
    src.crs = "EPSG:2056";
    ASSERT_TRUE(idx.load(src, "", 1, false, nullptr, why)) << why;
    ASSERT_EQ(idx.size(), 3000u);

    inventory::object_scratch sc;
    int compared = 0;
    for (int k = 0; compared < 40 && k < 400; ++k) {
        inventory::dam_site d;
        d.p.h = static_cast<real>(2 + 13 * u(rnd));
        d.p.b = static_cast<real>(2 + 28 * u(rnd));
        d.p.vol = static_cast<real>(std::pow(10, 3 + 3 * u(rnd)));
        d.p.slp = static_cast<real>(1 + 14 * u(rnd));
        d.p.dm = static_cast<real>(0.01 + 0.49 * u(rnd));
        d.g = {e0 + side * u(rnd), n0 + side * u(rnd), 360 * u(rnd)};
        inventory::dam_rules rules;
        rules.correct = true;
        rules.from = 1 + k % 3;
        inventory::dam_result m;
        if (!inventory::compute_map(d, rules, m, why)) continue;
        const assess::frame f = assess::make_frame(make_site(m.p), rules.lv, d.g);
        std::vector<inventory::object_hit> ha, hb;
        const auto a = idx.count(f, m, rules.from, sc, &ha);
        const auto b = idx.count_all(f, rules.from, &hb);
        for (int l = 0; l < 4; ++l)
            EXPECT_EQ(a.level[l], b.level[l]) << "dam " << k << " level " << l;
        EXPECT_EQ(a.open, b.open) << "dam " << k;
        EXPECT_LT(a.judged, b.judged) << "dam " << k;
        // Each object's level, worst h and q and worst point, for the
        // highest over dams and the worst points' layer.
        const auto key = [](const inventory::object_hit& x) {
            return std::tuple(x.obj, x.level, x.h, x.q, x.east, x.north);
        };
        std::vector<std::tuple<std::uint32_t, int, real, real, double, double>> ka, kb;
        for (const auto& x : ha) ka.push_back(key(x));
        for (const auto& x : hb) kb.push_back(key(x));
        std::sort(ka.begin(), ka.end());
        EXPECT_EQ(ka, kb) << "dam " << k;
        ++compared;
    }
    EXPECT_EQ(compared, 40);
}

} // namespace
