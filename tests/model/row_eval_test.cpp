// The memoised row evaluator: rows that keep the site or x, change one or
// both, or leave the breach, each bit for bit evaluate() and its level.
#include <vector>

#include <gtest/gtest.h>

#include "model/row_eval.h"
#include "support/random_params.h"

namespace {

TEST(RowEval, EqualsEvaluateWhateverChanges) {
    orv::params a, b;
    b.h = 6;
    b.slp = 0.1f;
    const orv::levels lv;
    struct row {
        orv::params p;
        float x, y;
    };
    // The same x on another site, the same site at another x, back to the
    // first site at the same x, x <= 0 and NaN between computed rows.
    const std::vector<row> rows = {
        {a, 50, 3},   {b, 50, 3}, {a, 50, 3}, {a, 60, -3}, {a, 0, 1},       {a, 60, 1},
        {b, -1, 0},   {b, 60, 1}, {a, 60, 1}, {b, 7, 0},   {b, NAN, 0},     {a, 2000, 0},
        {a, 2000, 0}, {b, 5, 0},  {a, 5, 0},  {a, 100, 0}, {b, 100, 1e30f}, {a, 100, 0},
    };
    orv::row_evaluator eval(a, lv, true);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE(k);
        const row& r = rows[k];
        const orv::row_result got = eval.run(r.p, r.x, r.y);
        const orv::point_result want = orv::evaluate(orv::make_site(r.p), r.x, r.y);
        EXPECT_EQ(got.st, want.st);
        EXPECT_EQ(got.level, orv::danger_level(want.st, want.res, lv));
        const float g[] = {got.res.q, got.res.v, got.res.h, got.res.he};
        const float w[] = {want.res.q, want.res.v, want.res.h, want.res.he};
        for (int i = 0; i < 4; ++i) EXPECT_EQ(orv::test::bits(g[i]), orv::test::bits(w[i])) << i;
    }
}

} // namespace
