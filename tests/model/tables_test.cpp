// The constant model tables: sizes, order, shapes and spot values.
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "model/tables.h"

namespace {

template <int n> bool ascending(const float (&a)[n]) {
    for (int k = 1; k < n; ++k) {
        if (!(a[k - 1] < a[k])) return false;
    }
    return true;
}

float at(const float* g, int k, int j) {
    return g[(k - 1) + (j - 1) * 27];
}

TEST(Tables, SizesAndAxes) {
    const size_t total = std::size(orv::sl0) + std::size(orv::qxm) + std::size(orv::vxm) +
                         std::size(orv::x) + std::size(orv::q) + std::size(orv::v) +
                         std::size(orv::y) + std::size(orv::xp) + std::size(orv::qp) +
                         std::size(orv::vp);
    EXPECT_EQ(total, 648u);
    EXPECT_EQ(std::size(orv::q), 189u);
    EXPECT_TRUE(ascending(orv::sl0));
    EXPECT_TRUE(ascending(orv::x));
    EXPECT_TRUE(ascending(orv::xp));
    for (int j = 0; j < 7; ++j) EXPECT_LE(orv::qxm[j], orv::vxm[j]) << j;
}

TEST(Tables, DistancesArePowersOfOnePointTwo) {
    for (int k = 1; k <= 27; ++k) {
        const double r = std::round(std::pow(1.2, k - 1) * 100) / 100;
        EXPECT_EQ(orv::x[k - 1], static_cast<float>(r)) << k;
    }
}

TEST(Tables, ColumnShapes) {
    for (int j = 1; j <= 7; ++j) {
        SCOPED_TRACE(j);
        int peak = 1;
        for (int k = 2; k <= 27; ++k) {
            EXPECT_LT(at(orv::q, k, j), at(orv::q, k - 1, j)) << k;
            EXPECT_GT(at(orv::y, k, j), at(orv::y, k - 1, j)) << k;
            if (at(orv::v, k, j) > at(orv::v, peak, j)) peak = k;
        }
        // v rises to an inner peak and never rises again after it.
        EXPECT_GT(peak, 1);
        EXPECT_LT(peak, 27);
        for (int k = 2; k <= peak; ++k) EXPECT_GE(at(orv::v, k, j), at(orv::v, k - 1, j)) << k;
        for (int k = peak + 1; k <= 27; ++k) EXPECT_LE(at(orv::v, k, j), at(orv::v, k - 1, j)) << k;
    }
    EXPECT_EQ(at(orv::v, 26, 5), at(orv::v, 27, 5));
}

struct spot {
    const float* g;
    int k, j;
    double value;
};

// Values read a second time from the printed tables, as decimals.
TEST(Tables, SpotValues) {
    using orv::q;
    using orv::v;
    using orv::y;
    const std::vector<spot> spots = {
        {q, 1, 1, 0.798},  {q, 1, 7, 0.884},  {q, 9, 1, 0.25},   {q, 13, 4, 0.138},
        {q, 18, 5, 0.094}, {q, 23, 3, 0.032}, {q, 24, 3, 0.03},  {q, 26, 6, 0.068},
        {q, 27, 7, 0.083}, {v, 1, 1, 1.055},  {v, 5, 3, 1.103},  {v, 7, 7, 1.51},
        {v, 11, 2, 0.614}, {v, 19, 3, 0.227}, {v, 20, 3, 0.216}, {v, 26, 5, 0.319},
        {v, 27, 7, 0.58},  {v, 16, 6, 0.668}, {y, 1, 1, 20.31},  {y, 2, 3, 5.8},
        {y, 12, 4, 11.62}, {y, 17, 7, 8.33},  {y, 22, 2, 48.33}, {y, 23, 3, 37.21},
        {y, 24, 3, 39.69}, {y, 27, 1, 90.5},  {y, 27, 7, 16.26}, {y, 14, 6, 8.12},
    };
    for (const auto& s : spots) {
        EXPECT_EQ(at(s.g, s.k, s.j), static_cast<float>(s.value)) << s.k << "," << s.j;
    }
    const double sl0[] = {0.25, 0.5, 1, 2, 4, 8, 16};
    const double qxm[] = {2.5, 2.5, 2.5, 2.5, 3, 4, 5};
    const double vxm[] = {3, 3, 3, 3, 3, 4, 5};
    for (int j = 0; j < 7; ++j) {
        EXPECT_EQ(orv::sl0[j], static_cast<float>(sl0[j])) << j;
        EXPECT_EQ(orv::qxm[j], static_cast<float>(qxm[j])) << j;
        EXPECT_EQ(orv::vxm[j], static_cast<float>(vxm[j])) << j;
    }
    const double qp[] = {1, 0.98, 0.92, 0.82, 0.69, 0.54, 0.37, 0.22, 0.09, 0.02, 0};
    const double vp[] = {1, 0.99, 0.96, 0.92, 0.86, 0.77, 0.66, 0.52, 0.35, 0.13, 0};
    for (int k = 0; k < 11; ++k) {
        EXPECT_EQ(orv::xp[k], static_cast<float>(k / 10.0)) << k;
        EXPECT_EQ(orv::qp[k], static_cast<float>(qp[k])) << k;
        EXPECT_EQ(orv::vp[k], static_cast<float>(vp[k])) << k;
    }
}

} // namespace
