// The public interface <orvalis/orvalis.h> gives the model's results bit for bit.
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "model/grid.h"
#include "model/level.h"
#include "model/point.h"
#include "orvalis/orvalis.h"
#include "support/random_params.h"

namespace {

using orv::test::bits;

// The public site of p.
orvalis::site_params site_of(const orv::params& p) {
    return {p.h, p.b, p.vol, p.slp, p.dm};
}

void expect_same(const orvalis::result& got, const orv::point_result& want) {
    ASSERT_EQ(got.status, want.st);
    EXPECT_EQ(bits(got.q), bits(want.res.q));
    EXPECT_EQ(bits(got.v), bits(want.res.v));
    EXPECT_EQ(bits(got.h), bits(want.res.h));
    EXPECT_EQ(bits(got.he), bits(want.res.he));
}

TEST(Api, InitialPoint) {
    const orvalis::result r = orvalis::evaluate({}, 100, 0);
    EXPECT_EQ(r.status, orvalis::ok);
    EXPECT_EQ(r.q, 0.50926512f);
    EXPECT_EQ(r.v, 1.6098896f);
    EXPECT_EQ(r.h, 0.31633541f);
    EXPECT_EQ(r.he, 0.44843248f);
    EXPECT_EQ(orvalis::danger_level(r), 1);
}

TEST(Api, StatusCodesAreTheModels) {
    const struct {
        orvalis::site_params s;
        float x;
        int32_t want;
    } cases[] = {
        {{}, 5, orvalis::too_close},
        {{}, 1000, orvalis::too_far},
        {{5, 10, 4000, 0.1f, 0.15f}, 100, orvalis::too_flat},
        {{5, 10, 4000, 20, 0.15f}, 100, orvalis::too_steep},
        {{}, 0, orvalis::not_downstream},
        {{}, -1, orvalis::not_downstream},
    };
    for (const auto& c : cases) {
        const orvalis::result r = orvalis::evaluate(c.s, c.x, 0);
        EXPECT_EQ(r.status, c.want) << c.x;
        EXPECT_TRUE(std::isnan(r.q) && std::isnan(r.v) && std::isnan(r.h) && std::isnan(r.he));
        EXPECT_EQ(orvalis::danger_level(r), orvalis::no_level);
    }
}

// Random sites and points: evaluate() and a site's evaluate() equal the model's.
TEST(Api, PointsEqualTheModel) {
    orv::test::random_params rnd(21);
    for (int i = 0; i < 30000; ++i) {
        orv::params p = rnd();
        if (i % 9 == 0) p.x1 = -p.x1;
        SCOPED_TRACE(i);
        const orv::point_result want = orv::evaluate(p);
        expect_same(orvalis::evaluate(site_of(p), p.x1, p.y1), want);
        const orvalis::site s(site_of(p));
        expect_same(s.evaluate(p.x1, p.y1), want);
        EXPECT_EQ(orvalis::danger_level(s.evaluate(p.x1, p.y1)),
                  orv::danger_level(want.st, want.res));
    }
}

TEST(Api, GridEqualsPoints) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> xs = {-3, 0, 2, 9, 40, 100, 333, 2000, nan};
    const std::vector<float> ys = {-60, -0.0f, 0, 7.5f, 25, 400, nan};
    const std::size_t n = xs.size() * ys.size();
    for (const orvalis::site_params& sp :
         {orvalis::site_params{}, orvalis::site_params{12, 60, 2.5e6f, 6, 0.05f},
          orvalis::site_params{2, 4, 300, 14, 0.4f}}) {
        std::vector<float> q(n), v(n), h(n), he(n);
        std::vector<int32_t> st(n);
        const orvalis::site s(sp);
        s.evaluate_grid(xs.data(), xs.size(), ys.data(), ys.size(),
                        {q.data(), v.data(), h.data(), he.data(), st.data()}, 2);
        for (std::size_t j = 0; j < ys.size(); ++j) {
            for (std::size_t i = 0; i < xs.size(); ++i) {
                const std::size_t k = j * xs.size() + i;
                const orvalis::result want = orvalis::evaluate(sp, xs[i], ys[j]);
                SCOPED_TRACE(testing::Message() << "x " << xs[i] << " y " << ys[j]);
                EXPECT_EQ(st[k], want.status);
                EXPECT_EQ(bits(q[k]), bits(want.q));
                EXPECT_EQ(bits(v[k]), bits(want.v));
                EXPECT_EQ(bits(h[k]), bits(want.h));
                EXPECT_EQ(bits(he[k]), bits(want.he));
            }
        }
    }
}

TEST(Api, LevelsOfPairs) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const orvalis::levels custom{{0.1f, 0.3f, 3}};
    const struct {
        float h, q;
        orvalis::levels l;
        int want;
    } cases[] = {
        {0, 0, {}, 0},
        {0.50000006f, 0, {}, 1},
        {0, 1.0000001f, {}, 2},
        {2.0000002f, 0, {}, 3},
        {nan, 0, {}, -1},
        {0, nan, {}, -1},
        {0.2f, 0.05f, custom, 1},
        {0.31f, 0, custom, 2},
        {0, 3.1f, custom, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(orvalis::danger_level(c.h, c.q, c.l), c.want) << c.h << " " << c.q;
        EXPECT_EQ(orvalis::danger_level(orvalis::result{0, c.q, 1, c.h, 1}, c.l), c.want);
        EXPECT_EQ(orvalis::danger_level(orvalis::result{2, c.q, 1, c.h, 1}, c.l),
                  orvalis::no_level);
    }
    EXPECT_TRUE(orvalis::valid(orvalis::levels{}));
    EXPECT_TRUE(orvalis::valid(custom));
    EXPECT_FALSE(orvalis::valid(orvalis::levels{{1, 1, 2}}));
    EXPECT_FALSE(orvalis::valid(orvalis::levels{{0.5f, 1, nan}}));
}

} // namespace
