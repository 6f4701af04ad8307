// The fast lateral stage and the threaded grid evaluation: every result bit
// for bit the pointwise model's.
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "base/workers.h"
#include "model/grid.h"
#include "model/point.h"
#include "model/tables.h"
#include "support/random_params.h"

namespace {

using orv::params;
using orv::real;
using orv::test::bits;

// The float n steps of one unit in the last place away from f (f >= 0).
float ulps_from(float f, int n) {
    int32_t u;
    std::memcpy(&u, &f, sizeof u);
    u += n;
    float g;
    std::memcpy(&g, &u, sizeof g);
    return g;
}

void expect_same(const orv::intensity& got, const orv::intensity& want) {
    EXPECT_EQ(bits(got.q), bits(want.q));
    EXPECT_EQ(bits(got.v), bits(want.v));
    EXPECT_EQ(bits(got.h), bits(want.h));
    EXPECT_EQ(bits(got.he), bits(want.he));
}

// With a reference length, attenuation and half-width of 1 the relative
// position equals y1, so every float position can be put to both stages:
// around each abscissa of the profile tables, across the whole table, outside
// it and at the special values.
TEST(Lateral, SharedSearchEqualsLookupsAtEveryPosition) {
    orv::site s{};
    s.lref = 1;
    orv::station t{};
    t.fq = 1;
    t.ywid = 1;
    t.qx = 3.25;
    t.vx = 1.75;
    std::vector<float> ys;
    for (float a : orv::xp) {
        for (int n = -3000; n <= 3000; ++n)
            ys.push_back(a == 0 ? ulps_from(0, std::abs(n)) : ulps_from(a, n));
        ys.push_back(a + 0.05f);
    }
    for (float y = 0; y < 1.02f; y = ulps_from(y, 4099)) ys.push_back(y);
    const float inf = std::numeric_limits<float>::infinity();
    for (float y :
         {-0.0f, -1e-30f, -0.5f, -inf, 1.5f, 1e30f, inf, std::numeric_limits<float>::quiet_NaN(),
          std::numeric_limits<float>::denorm_min()})
        ys.push_back(y);
    for (float y : ys) {
        SCOPED_TRACE(testing::Message() << "yrel " << y);
        orv::lateral l{};
        const orv::intensity want = orv::make_result(s, t, y, &l);
        ASSERT_EQ(bits(l.yrel), bits(y));
        expect_same(orv::make_result_scaled(s, t, y, orv::lateral_scale(s, y)), want);
    }
}

// Random sites, distances and lateral positions (NaN, infinite and
// degenerate values included) through both lateral stages.
TEST(Lateral, SharedSearchEqualsLookupsOnRandomSites) {
    orv::test::random_params rnd(23);
    int results = 0;
    for (int i = 0; i < 200000; ++i) {
        const params p = rnd();
        const orv::site s = orv::make_site(p);
        const orv::station t = orv::make_station(s, p.x1);
        if (t.st != 0) continue;
        ++results;
        for (float y :
             {p.y1, std::fabs(p.y1), p.y1 * 0.01f, rnd.in(0, 2) * static_cast<float>(t.ywid)}) {
            SCOPED_TRACE(testing::Message() << "case " << i << " y " << y);
            expect_same(orv::make_result_scaled(s, t, y, orv::lateral_scale(s, y)),
                        orv::make_result(s, t, y));
        }
    }
    EXPECT_GT(results, 20000);
}

// Expected outcome at (x, y): the pointwise evaluation.
void expect_cell(const orv::grid_out& o, std::size_t k, const orv::point_result& want) {
    ASSERT_EQ(o.st[k], want.st);
    expect_same({o.q[k], o.v[k], o.h[k], o.he[k]}, want.res);
}

// Owns the arrays of a grid_out for n cells.
struct grid_arrays {
    std::vector<real> q, v, h, he;
    std::vector<int32_t> st;
    explicit grid_arrays(std::size_t n) : q(n), v(n), h(n), he(n), st(n) {}
    orv::grid_out out() { return {q.data(), v.data(), h.data(), he.data(), st.data()}; }
};

// Grids big enough to be split over threads: a symmetric y axis (rows
// copied), an asymmetric one with repeated and NaN values, and x axes that
// cross both warning zones and the breach; 1, 2 and all threads.
TEST(Grid, ThreadedGridEqualsPointwise) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    orv::test::random_params rnd(5);
    for (int c = 0; c < 12; ++c) {
        const params p = c == 0 ? params{} : rnd();
        const orv::site s = orv::make_site(p);
        std::vector<float> xs, ys;
        const float far = c == 0 ? 900.0f : std::exp(rnd.in(0, 8));
        for (int i = 0; i < 230; ++i) xs.push_back(-10 + far * static_cast<float>(i) / 200);
        xs[7] = nan;
        if (c % 2 == 0) {
            for (int j = -90; j < 90; ++j) ys.push_back((static_cast<float>(j) + 0.5f) * 0.75f);
        } else {
            for (int j = 0; j < 170; ++j) ys.push_back(rnd.in(-40, 120));
            ys[3] = ys[50];
            ys[4] = -ys[60];
            ys[5] = nan;
            ys[6] = -0.0f;
            ys[7] = 0.0f;
        }
        for (unsigned threads : {1u, 2u, 0u}) {
            SCOPED_TRACE(testing::Message() << "site " << c << " threads " << threads);
            grid_arrays g(xs.size() * ys.size());
            orv::evaluate_grid(s, xs.data(), xs.size(), ys.data(), ys.size(), g.out(), threads);
            for (std::size_t j = 0; j < ys.size(); ++j)
                for (std::size_t i = 0; i < xs.size(); ++i)
                    expect_cell(g.out(), j * xs.size() + i, orv::evaluate(s, xs[i], ys[j]));
        }
    }
}

// Threads that cannot be started (none, or one of three) leave their rows
// to the calling thread: every cell still the pointwise model's.
TEST(Grid, ThreadStartFailureEqualsPointwise) {
    const orv::site s = orv::make_site(params{});
    std::vector<float> xs, ys;
    for (int i = 0; i < 400; ++i) xs.push_back(-10 + 2.5f * static_cast<float>(i));
    for (int j = 0; j < 300; ++j) ys.push_back(static_cast<float>(j) * 0.37f - 40);
    for (const int after : {0, 1}) {
        SCOPED_TRACE(testing::Message() << "threads started before failing: " << after);
        orv::base::testing::fail_thread_start(true, after);
        grid_arrays g(xs.size() * ys.size()), p(xs.size());
        orv::evaluate_grid(s, xs.data(), xs.size(), ys.data(), ys.size(), g.out(), 4);
        orv::evaluate_points(s, xs.data(), ys.data(), xs.size(), p.out(), 4);
        orv::base::testing::fail_thread_start(false);
        for (std::size_t j = 0; j < ys.size(); ++j)
            for (std::size_t i = 0; i < xs.size(); ++i)
                expect_cell(g.out(), j * xs.size() + i, orv::evaluate(s, xs[i], ys[j]));
        for (std::size_t k = 0; k < xs.size(); ++k)
            expect_cell(p.out(), k, orv::evaluate(s, xs[k], ys[k]));
    }
}

// Unrelated points, as the rotated rasters use them.
TEST(Grid, PointsEqualPointwise) {
    orv::test::random_params rnd(9);
    const orv::site s = orv::make_site(params{});
    std::vector<float> xs, ys;
    for (int k = 0; k < 50000; ++k) {
        xs.push_back(rnd.in(-20, 1000));
        ys.push_back(rnd.in(-100, 100));
    }
    for (unsigned threads : {1u, 2u}) {
        grid_arrays g(xs.size());
        orv::evaluate_points(s, xs.data(), ys.data(), xs.size(), g.out(), threads);
        for (std::size_t k = 0; k < xs.size(); ++k)
            expect_cell(g.out(), k, orv::evaluate(s, xs[k], ys[k]));
    }
}

// Threads: 0 is all cores, small work stays on one thread.
TEST(Grid, ThreadsForWork) {
    EXPECT_EQ(orv::threads_for(100, 2), 1u);
    EXPECT_EQ(orv::threads_for(1000000, 2), 2u);
    EXPECT_EQ(orv::threads_for(1000000, 1), 1u);
    EXPECT_GE(orv::threads_for(1000000, 0), 1u);
    EXPECT_EQ(orv::threads_for(0, 0), 1u);
}

} // namespace
