#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "dialogue/dialogue.h"

namespace orv {
namespace {

TEST(Display, StoredParamsStartWithInitialValues) {
    const params& p = stored_params();
    EXPECT_EQ(&p, &stored_params());
    const float want[] = {5, 10, 4000, 1, 0.15f, 100, 0};
    for (int i = 0; i < n_params; ++i) {
        EXPECT_EQ(p.*param_table[i].member, want[i]) << i;
        EXPECT_EQ(initial_value(i), want[i]) << i;
    }
}

TEST(Display, WholeNumbersRoundHalvesAwayFromZero) {
    constexpr int32_t most_negative = std::numeric_limits<int32_t>::min();
    const struct {
        float v;
        int32_t want;
    } cases[] = {
        {2.5f, 3},
        {-2.5f, -3},
        {99.5f, 100},
        {-0.5f, -1},
        {4000.4f, 4000},
        {0.49f, 0},
        {-0.0f, 0},
        {2147483520.0f, 2147483520},
        {3e9f, most_negative},
        {-3e9f, most_negative},
        {std::nanf(""), most_negative},
        {std::numeric_limits<float>::infinity(), most_negative},
    };
    for (const auto& c : cases) EXPECT_EQ(round_display(c.v), c.want) << c.v;
}

TEST(Display, CommandLetterFold) {
    const struct {
        unsigned char in, out;
    } cases[] = {{'H', 'h'}, {'X', 'x'}, {'h', 'h'}, {'x', 'x'}, {' ', 64},
                 {'8', 'X'}, {'\t', 41}, {95, 127},  {96, 96},   {255, 255}};
    for (const auto& c : cases) EXPECT_EQ(fold_letter(c.in), c.out) << int(c.in);
}

} // namespace
} // namespace orv
