// Danger levels from flow depth and specific discharge.
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "model/level.h"

namespace {

struct level_case {
    int st;
    float q, h;
    int want;
};

TEST(Level, DefaultThresholds) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<level_case> cases = {
        {0, 0, 0, 0},           {0, 0.5f, 0.5f, 0},  {0, 0.50000006f, 0, 1},
        {0, 0, 0.50000006f, 1}, {0, 1, 1, 1},        {0, 1.0000001f, 0.1f, 2},
        {0, 0.1f, 1.5f, 2},     {0, 2, 2, 2},        {0, 2.0000002f, 0, 3},
        {0, 0, 30, 3},          {0, 0.51f, 2.5f, 3}, {1, 5, 5, -1},
        {2, 0, 0, -1},          {5, 0, 0, -1},       {0, nan, 0, -1},
        {0, 3, nan, -1},        {0, -1, -1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "st " << c.st << " q " << c.q << " h " << c.h);
        EXPECT_EQ(orv::danger_level(c.st, {c.q, 1, c.h, 1}), c.want);
    }
}

TEST(Level, ChosenThresholds) {
    const orv::levels l{{0.1f, 0.3f, 3}};
    EXPECT_EQ(orv::danger_level(0, {0.2f, 1, 0.05f, 1}, l), 1);
    EXPECT_EQ(orv::danger_level(0, {0.2f, 1, 0.31f, 1}, l), 2);
    EXPECT_EQ(orv::danger_level(0, {2.9f, 1, 2.9f, 1}, l), 2);
    EXPECT_EQ(orv::danger_level(0, {3.1f, 1, 0, 1}, l), 3);
}

TEST(Level, ValidThresholds) {
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_TRUE(orv::valid_levels({}));
    EXPECT_TRUE(orv::valid_levels({{1e-3f, 1, 100}}));
    for (const orv::levels& l : std::vector<orv::levels>{
             {{0, 1, 2}}, {{1, 1, 2}}, {{2, 1, 3}}, {{0.5f, 1, inf}}, {{-1, 1, 2}}}) {
        EXPECT_FALSE(orv::valid_levels(l)) << l.t[0] << " " << l.t[1] << " " << l.t[2];
    }
}

} // namespace
