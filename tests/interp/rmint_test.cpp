// Lookups in Tables and Grids: values, slopes, statuses and brackets.
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "interp/rmint.h"
#include "model/tables.h"

namespace {

using orv::real;
const real nan_r = std::numeric_limits<real>::quiet_NaN();

struct table_case {
    const char* name;
    std::vector<real> xt, yt;
    real xi;
    double value; // expected value; NaN means a NaN result is expected
    double tol;
    real dydx;
    int32_t ist;
};

std::vector<real> vec(const real* a, int n) {
    return {a, a + n};
}

TEST(Rmint, TableCases) {
    const auto sl0 = vec(orv::sl0, 7), qxm = vec(orv::qxm, 7);
    const auto xp = vec(orv::xp, 11), qp = vec(orv::qp, 11), vp = vec(orv::vp, 11);
    const std::vector<table_case> cases = {
        {"single entry", {3}, {7}, 100, 7, 0, 0, 1},
        {"single entry, NaN query", {3}, {7}, nan_r, 7, 0, 0, 1},
        {"between classes", sl0, qxm, 3, 2.75, 1e-12, 0.25f, 0},
        {"below first", sl0, qxm, 0.1f, 2.5, 0, 0, 2},
        {"above last", sl0, qxm, 20, 5, 0, 0, 3},
        {"on last abscissa", sl0, qxm, 16, 5, 1e-12, 0.125f, 0},
        {"profile inner", xp, qp, 0.25f, 0.87, 1e-6, -1.0f, 0},
        {"profile near edge", xp, qp, 0.95f, 0.01, 1e-6, -0.2f, 0},
        {"on first abscissa", xp, vp, 0, 1, 0, -0.1f, 0},
        {"repeated abscissae", {0, 1, 1, 2}, {10, 20, 30, 40}, 1, 30, 0, 10, 0},
        {"descending pair inside", {0, 2, 1, 3}, {0, 10, 20, 30}, 1.5f, 7.5, 1e-12, 5, 4},
        {"descending pair below", {0, 2, 1, 3}, {0, 10, 20, 30}, -1, 0, 0, 0, 2},
        {"descending pair above", {0, 2, 1, 3}, {0, 10, 20, 30}, 4, 30, 0, 0, 3},
        {"NaN query", sl0, qxm, nan_r, nan_r, 0, 0.125f, 0},
        {"NaN query, descending", {0, 2, 1, 3}, {0, 10, 20, 30}, nan_r, nan_r, 0, 5, 4},
        {"segment narrower than 1e-10", {0, 1e-12f, 1}, {5, 6, 7}, 5e-13f, 5, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t n = static_cast<int32_t>(c.xt.size());
        real dydx = -99;
        int32_t ist = -99;
        const double r = orv::rmint(n, c.xt.data(), c.yt.data(), c.xi, dydx, ist);
        if (std::isnan(c.value)) {
            EXPECT_TRUE(std::isnan(r));
        } else {
            EXPECT_NEAR(r, c.value, c.tol);
        }
        EXPECT_NEAR(dydx, c.dydx, 1e-5);
        EXPECT_EQ(ist, c.ist);
    }
}

TEST(Rmint, LastAbscissaUsesRoundedSlope) {
    real dydx;
    int32_t ist;
    const double r = orv::rmint(11, orv::xp, orv::vp, orv::xp[10], dydx, ist);
    EXPECT_EQ(ist, 0);
    EXPECT_NE(r, 0.0);
    EXPECT_NEAR(r, 4.8e-9, 0.1e-9);
}

TEST(Rmint, InnerAbscissaGivesOrdinateExactly) {
    for (int k = 0; k < 10; ++k) {
        real dydx;
        int32_t ist;
        EXPECT_EQ(orv::rmint(11, orv::xp, orv::qp, orv::xp[k], dydx, ist), orv::qp[k]) << k;
        EXPECT_EQ(ist, 0);
    }
}

TEST(Rmint, EmptyTableIsNotRead) {
    real dydx = 1;
    int32_t ist = 0;
    EXPECT_TRUE(std::isnan(orv::rmint(0, nullptr, nullptr, 1.0f, dydx, ist)));
    EXPECT_EQ(ist, 1);
    EXPECT_EQ(dydx, 0);
}

// Bilinear value on the bracket rows i0..i1, columns j0..j1 (1-based) of a
// model Grid, written with interpolation weights rather than offsets.
double weighted(const real* g, int i0, int i1, int j0, int j1, real xi1, real xi2) {
    const double a = (xi1 - double(orv::x[i0 - 1])) / (double(orv::x[i1 - 1]) - orv::x[i0 - 1]);
    const double b =
        (xi2 - double(orv::sl0[j0 - 1])) / (double(orv::sl0[j1 - 1]) - orv::sl0[j0 - 1]);
    auto at = [&](int i, int j) { return double(g[(i - 1) + (j - 1) * 27]); };
    return (1 - a) * (1 - b) * at(i0, j0) + a * (1 - b) * at(i1, j0) + (1 - a) * b * at(i0, j1) +
           a * b * at(i1, j1);
}

struct grid_case {
    const char* name;
    const real* g;
    real xi1, xi2;
    int32_t ist;
    int i0, i1, j0, j1; // bracket
    double about, tol;  // the value to the digits known
};

TEST(Rmint2, GridCases) {
    using orv::q;
    using orv::v;
    const std::vector<grid_case> cases = {
        {"node", v, 2.07f, 1.0f, 0, 5, 6, 3, 4, 1.103, 1e-7},
        {"first row", v, 1.0f, 1.0f, 0, 1, 2, 3, 4, 1.067, 1e-7},
        {"far corner", v, 114.48f, 16.0f, 0, 26, 27, 6, 7, 0.58, 1e-7},
        {"inside a cell", v, 3.0f, 3.0f, 0, 7, 8, 4, 5, 1.1003, 5e-5},
        {"discharge", q, 55.921082f, 1.0f, 0, 23, 24, 3, 4, 0.031871, 5e-7},
        {"below axis 1", v, 0.8f, 1.0f, 1, 1, 2, 1, 7, 1.04114, 5e-6},
        {"above axis 1", v, 120, 1.0f, 2, 26, 27, 1, 7, 0.1047, 5e-5},
        {"below axis 2", v, 50, 0.1f, 3, 1, 27, 1, 2, 0.6251, 5e-5},
        {"above axis 2", v, 50, 20, 4, 1, 27, 6, 7, 1.0401, 5e-5},
        {"below both axes", v, 0.8f, 0.1f, 3, 1, 2, 1, 2, 1.0296, 5e-5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int32_t ist = -99;
        const double r = orv::rmint2(27, 7, orv::x, orv::sl0, c.g, c.xi1, c.xi2, ist);
        EXPECT_EQ(ist, c.ist);
        EXPECT_NEAR(r, c.about, c.tol);
        const double w = weighted(c.g, c.i0, c.i1, c.j0, c.j1, c.xi1, c.xi2);
        EXPECT_NEAR(r, w, 1e-12 * std::fabs(w));
    }
}

TEST(Rmint2, NodesGiveGridValues) {
    for (int j = 0; j < 7; ++j) {
        for (int i = 0; i < 27; ++i) {
            int32_t ist;
            const double r =
                orv::rmint2(27, 7, orv::x, orv::sl0, orv::y, orv::x[i], orv::sl0[j], ist);
            EXPECT_EQ(static_cast<real>(r), orv::y[i + j * 27]) << i << "," << j;
            EXPECT_EQ(ist, 0);
        }
    }
}

TEST(Rmint2, NanDistanceCountsAsInside) {
    int32_t ist = -99;
    EXPECT_TRUE(std::isnan(orv::rmint2(27, 7, orv::x, orv::sl0, orv::v, nan_r, 1.0f, ist)));
    EXPECT_EQ(ist, 0);
}

} // namespace
