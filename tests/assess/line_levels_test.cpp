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
    double spacing;
    std::vector<int> levels; // the runs' levels in order; empty: not checked
};

// The pieces on either side of each run's end on the straight line a-b
// take the higher level of their two samples (by the model directly).
void check_ends(const line_case& c, const std::vector<level_run>& runs) {
    const xy a = c.v.front(), b = c.v.back();
    const double len = std::hypot(b.e - a.e, b.n - a.n);
    const double ue = c.spacing * (b.e - a.e) / len, un = c.spacing * (b.n - a.n) / len;
    for (std::size_t k = 0; k + 1 < runs.size(); ++k) {
        const xy end = runs[k].pts.back();
        const int prior = level_at({end.e - ue, end.n - un}), here = level_at(end),
                  next = level_at({end.e + ue, end.n + un});
        EXPECT_EQ(std::max(prior, here), runs[k].level) << c.name << " " << k;
        EXPECT_EQ(std::max(here, next), runs[k + 1].level) << c.name << " " << k;
    }
}

TEST(AssessLineLevels, RunsFollowTheModelAndTopAtTheVerdict) {
    const orv::assess::frame f =
        orv::assess::make_frame(orv::make_site(site_params()), orv::levels{}, g);
    const std::vector<line_case> cases = {
        // A road across the jet from its centre out of the zones.
        {"across", {world(60, 0), world(60, 1000)}, 1.5, {3, 2, 1, 0}},
        // The same road the other way round: the order turns with it.
        {"back", {world(60, -1000), world(60, 0)}, 1, {0, 1, 2, 3}},
        {"inwards", {world(80, -900), world(80, 0)}, 2.5, {}},
        {"slanted", {world(40, -300), world(400, 300)}, 1, {}},
        // Bent, with a repeated vertex, from the centre out and back in.
        {"bent", {world(60, 0), world(60, 300), world(60, 300), world(150, 20)}, 1.5, {}},
        // Along the jet from the breach on: near it no result first.
        {"along", {world(0, 0), world(3000, 0)}, 1.5, {}},
        // Wholly upstream: one run without a result.
        {"upstream", {world(-500, 0), world(-100, 40)}, 1.5, {-1}},
        // A single vertex: one run of it, at its level.
        {"single", {world(60, 0)}, 1.5, {3}},
    };
    for (const auto& c : cases) {
        const std::vector<level_run> runs =
            orv::assess::line_runs(f, c.spacing, c.v.data(), c.v.size());
        ASSERT_FALSE(runs.empty()) << c.name;
        // The judge over the same line, as an assessment samples it.
        orv::assess::judge j(f);
        std::vector<xy> buf;
        orv::assess::sampler s(c.spacing, j, buf);
        s.line(c.v.data(), c.v.size());
        s.flush();
        int top = orv::no_level;
        std::vector<int> got;
        for (const level_run& r : runs) top = std::max(top, r.level), got.push_back(r.level);
        EXPECT_EQ(top, j.result().level) << c.name;
        if (!c.levels.empty()) EXPECT_EQ(got, c.levels) << c.name;
        if (c.v.size() == 2) check_ends(c, runs);
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

} // namespace
