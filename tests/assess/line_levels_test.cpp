// Levels along a line: the runs follow the model's levels sample by
// sample, hold the line's vertices, and top out at the judge's verdict.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "assess/line_levels.h"
#include "map/frame.h"
#include "model/point.h"

namespace {

using orv::assess::level_run;
using orv::assess::xy;

const orv::map::georef g{2600000, 1200000, 33};

orv::params site_params() {
    orv::params p;
    p.h = 8, p.b = 20, p.vol = 60000, p.slp = 6, p.dm = 0.1f;
    return p;
}

// The world point at jet (x, y).
xy world(double x, double y) {
    const double a = g.azimuth * std::numbers::pi / 180;
    return {g.e0 + x * std::sin(a) - y * std::cos(a), g.n0 + x * std::cos(a) + y * std::sin(a)};
}

// The level the model gives at a world point, evaluated directly.
int level_at(xy p) {
    const orv::map::jet_point j = orv::map::to_jet(g, p.e, p.n);
    const orv::point_result r =
        orv::evaluate(orv::make_site(site_params()), static_cast<orv::real>(j.x),
                      static_cast<orv::real>(std::fabs(j.y)));
    return orv::danger_level(r.st, r.res, orv::levels{});
}

bool same(xy a, xy b) {
    return a.e == b.e && a.n == b.n;
}

struct line_case {
    const char* name;
    std::vector<xy> v;
    std::vector<int> levels; // the runs' levels in order; empty: not checked
};

TEST(AssessLineLevels, RunsFollowTheModelAndTopAtTheVerdict) {
    const orv::assess::frame f =
        orv::assess::make_frame(orv::make_site(site_params()), orv::levels{}, g);
    const std::vector<line_case> cases = {
        // A road across the jet from its centre out of the zones.
        {"across", {world(60, 0), world(60, 1000)}, {3, 2, 1, 0}},
        // The same road the other way round: the order turns with it.
        {"back", {world(60, -1000), world(60, 0)}, {0, 1, 2, 3}},
        // Bent, with a repeated vertex, from the centre out and back in.
        {"bent", {world(60, 0), world(60, 300), world(60, 300), world(150, 20)}, {}},
        // Along the jet from the breach on: near it no result first.
        {"along", {world(0, 0), world(3000, 0)}, {}},
        // Wholly upstream: one run without a result.
        {"upstream", {world(-500, 0), world(-100, 40)}, {-1}},
        // A single vertex: one run of it, at its level.
        {"single", {world(60, 0)}, {3}},
    };
    const double spacing = 1.5;
    for (const auto& c : cases) {
        const std::vector<level_run> runs =
            orv::assess::line_runs(f, spacing, c.v.data(), c.v.size());
        ASSERT_FALSE(runs.empty()) << c.name;
        // The judge over the same line, as an assessment samples it.
        orv::assess::judge j(f);
        std::vector<xy> buf;
        orv::assess::sampler s(spacing, j, buf);
        s.line(c.v.data(), c.v.size());
        s.flush();
        int top = orv::no_level;
        for (const level_run& r : runs) top = std::max(top, r.level);
        EXPECT_EQ(top, j.result().level) << c.name;
        if (!c.levels.empty()) {
            std::vector<int> got;
            for (const level_run& r : runs) got.push_back(r.level);
            EXPECT_EQ(got, c.levels) << c.name;
        }
        // The runs join end to end from the first vertex to the last, and
        // every vertex lies on them.
        EXPECT_TRUE(same(runs.front().pts.front(), c.v.front())) << c.name;
        EXPECT_TRUE(same(runs.back().pts.back(), c.v.back())) << c.name;
        std::size_t next = 0;
        for (std::size_t k = 0; k < runs.size(); ++k) {
            ASSERT_GE(runs[k].pts.size(), 2u) << c.name << " " << k;
            if (k > 0) {
                EXPECT_TRUE(same(runs[k].pts.front(), runs[k - 1].pts.back())) << c.name << k;
                EXPECT_NE(runs[k].level, runs[k - 1].level) << c.name << " " << k;
            }
            for (const xy& p : runs[k].pts)
                if (next < c.v.size() && same(p, c.v[next])) ++next;
        }
        EXPECT_EQ(next, c.v.size()) << c.name << ": vertices missing from the runs";
    }
}

// Where a run of a straight road ends: the pieces on either side of its
// end take the higher level of their two samples, and the level changes
// at one of them.
TEST(AssessLineLevels, RunEndsLieWithinOneSpacingOfTheLevelChange) {
    const orv::assess::frame f =
        orv::assess::make_frame(orv::make_site(site_params()), orv::levels{}, g);
    const struct {
        const char* name;
        xy a, b;
        double spacing;
    } cases[] = {
        {"outwards", world(60, 0), world(60, 1000), 1},
        {"inwards", world(80, -900), world(80, 0), 2.5},
        {"slanted", world(40, -300), world(400, 300), 1},
    };
    for (const auto& c : cases) {
        const xy v[2] = {c.a, c.b};
        const std::vector<level_run> runs = orv::assess::line_runs(f, c.spacing, v, 2);
        ASSERT_GE(runs.size(), 2u) << c.name;
        const double len = std::hypot(c.b.e - c.a.e, c.b.n - c.a.n);
        const double ue = (c.b.e - c.a.e) / len, un = (c.b.n - c.a.n) / len;
        for (std::size_t k = 0; k + 1 < runs.size(); ++k) {
            const xy end = runs[k].pts.back();
            const xy before{end.e - c.spacing * ue, end.n - c.spacing * un};
            const xy after{end.e + c.spacing * ue, end.n + c.spacing * un};
            const int prior = level_at(before), here = level_at(end), next = level_at(after);
            EXPECT_EQ(std::max(prior, here), runs[k].level) << c.name << " " << k;
            EXPECT_EQ(std::max(here, next), runs[k + 1].level) << c.name << " " << k;
        }
    }
}

} // namespace
