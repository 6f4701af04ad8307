// Which objects a map colours stretch by stretch: endangered lines inside
// its box, judged again to the verdict's own level; open, level-0 and
// outlying objects keep their one colour.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include <gtest/gtest.h>

#include "report/line_pieces.h"

namespace {

using orv::draw::coverage;
using orv::draw::map_object;

const orv::map::georef g{2600000, 1200000, 33};

orv::draw::world_xy world(double x, double y) {
    const double a = g.azimuth * std::numbers::pi / 180;
    return {g.e0 + x * std::sin(a) - y * std::cos(a), g.n0 + x * std::cos(a) + y * std::sin(a)};
}

map_object line(double x0, double y0, double x1, double y1, int level, coverage cover) {
    map_object o;
    o.parts.push_back({map_object::line, {{world(x0, y0), world(x1, y1)}}});
    o.level = level;
    o.cover = cover;
    return o;
}

TEST(ReportLinePieces, OnlyEndangeredLinesInsideTheBox) {
    orv::params p;
    p.h = 8, p.b = 20, p.vol = 60000, p.slp = 6, p.dm = 0.1f;
    orv::assess::request r;
    r.s = orv::make_site(p);
    r.g = g;
    r.spacing = 1;
    r.threads = 2;
    const struct {
        const char* name;
        map_object o;
        bool pieces;
    } cases[] = {
        {"endangered road", line(60, 0, 60, 1000, 3, coverage::full), true},
        {"open road", line(60, 0, 60, 1000, -1, coverage::none), false},
        {"level 0 road", line(60, 900, 60, 1000, 0, coverage::full), false},
        {"far away", line(60, 9000, 60, 9500, 3, coverage::full), false},
        {"leaving the box", line(60, 0, 60, 20000, 3, coverage::part), true},
    };
    std::vector<map_object> objects;
    for (const auto& c : cases) objects.push_back(c.o);
    orv::map::world_box box;
    for (double x : {-100.0, 2000.0})
        for (double y : {-1500.0, 1500.0}) box.add(world(x, y).e, world(x, y).n);
    const auto pieces = orv::report::line_pieces(r)(box, objects);
    std::size_t at = 0;
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const bool has = at < pieces.size() && pieces[at].object == k;
        EXPECT_EQ(has, cases[k].pieces) << cases[k].name;
        if (!has) continue;
        int top = -1;
        for (const auto& run : pieces[at].runs) top = std::max(top, run.level);
        EXPECT_EQ(top, objects[k].level) << cases[k].name;
        ++at;
    }
    EXPECT_EQ(at, pieces.size());
}

} // namespace
