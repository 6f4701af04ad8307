// The staged model: the pointwise computation must not move by one bit, and
// every staged path (point, grid) must equal it.
#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "model/grid.h"
#include "model/intensity.h"
#include "model/point.h"
#include "support/random_params.h"

namespace {

using orv::params;
using orv::test::bits;

// FNV-1a over 32-bit words.
struct fnv {
    uint64_t h = 1469598103934665603ull;
    void mix(uint32_t v) { h = (h ^ v) * 1099511628211ull; }
};

// 200000 random Parameter sets through compute_intensity and correct_params.
// The expected hash was taken from the computation before it was split into
// stages, at -O0 and at -O2 alike.
TEST(Stages, PointwiseComputationKeepsEveryBit) {
    orv::test::random_params rnd(7);
    fnv f;
    int results = 0;
    for (int i = 0; i < 200000; ++i) {
        const params p = rnd();
        const auto o = orv::compute_intensity(p);
        f.mix(static_cast<uint32_t>(o.st));
        f.mix(bits(o.xq));
        if (o.st == 0) {
            ++results;
            for (float v : {o.res.q, o.res.v, o.res.h, o.res.he}) f.mix(bits(v));
        }
        params c = p;
        orv::correct_params(c, o);
        f.mix(bits(c.x1));
        f.mix(bits(c.slp));
    }
    EXPECT_EQ(results, 28528);
    EXPECT_EQ(f.h, 0xcb766961d151b306ull);
}

// Expected outcome of the new tools at p: the model at (x1, |y1|), status 5
// and NaN results where x1 <= 0.
orv::point_result expected(params p) {
    if (p.x1 <= 0) return {orv::not_downstream, orv::no_result()};
    p.y1 = std::fabs(p.y1);
    const auto o = orv::compute_intensity(p);
    return {o.st, o.st == 0 ? o.res : orv::no_result()};
}

void expect_same(const orv::point_result& got, const orv::point_result& want) {
    ASSERT_EQ(got.st, want.st);
    EXPECT_EQ(bits(got.res.q), bits(want.res.q));
    EXPECT_EQ(bits(got.res.v), bits(want.res.v));
    EXPECT_EQ(bits(got.res.h), bits(want.res.h));
    EXPECT_EQ(bits(got.res.he), bits(want.res.he));
}

TEST(Stages, PointEqualsModelAtAbsoluteY) {
    orv::test::random_params rnd(11);
    for (int i = 0; i < 50000; ++i) {
        params p = rnd();
        if (i % 7 == 0) p.x1 = -p.x1; // some points above the breach
        if (i % 13 == 0) p.x1 = 0;
        SCOPED_TRACE(i);
        expect_same(orv::evaluate(p), expected(p));
    }
}

TEST(Stages, NegativeYMirrorsPositive) {
    params p;
    p.y1 = 20;
    const auto a = orv::evaluate(p);
    p.y1 = -20;
    expect_same(orv::evaluate(p), a);
    EXPECT_EQ(a.st, 0);
}

// A grid of awkward axes (warning zones, x <= 0, NaN, negative y) for random
// sites equals point-by-point evaluation at every cell.
TEST(Stages, GridEqualsPointwise) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> xs = {-5, 0, 0.5f, 3, 7.0710678f, 55, 100, 700, 1e5f, nan};
    const std::vector<float> ys = {-200, -20, -0.0f, 0, 3.5f, 20, 45, 200, nan};
    orv::test::random_params rnd(3);
    for (int s = 0; s < 300; ++s) {
        const params site = s == 0 ? params{} : rnd();
        const std::size_t n = xs.size() * ys.size();
        std::vector<float> q(n), v(n), h(n), he(n);
        std::vector<int32_t> st(n);
        orv::evaluate_grid(orv::make_site(site), xs.data(), xs.size(), ys.data(), ys.size(),
                           {q.data(), v.data(), h.data(), he.data(), st.data()});
        for (std::size_t j = 0; j < ys.size(); ++j) {
            for (std::size_t i = 0; i < xs.size(); ++i) {
                params p = site;
                p.x1 = xs[i];
                p.y1 = ys[j];
                const std::size_t k = j * xs.size() + i;
                SCOPED_TRACE(testing::Message() << "site " << s << " cell " << i << "," << j);
                expect_same({st[k], {q[k], v[k], h[k], he[k]}}, expected(p));
            }
        }
    }
}

} // namespace
