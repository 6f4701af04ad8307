// The ways numbers are shown, each pinned to the bytes the tools print.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/number_text.h"
#include "base/steps.h"
#include "csv/number.h"

namespace {

const float inf = std::numeric_limits<float>::infinity();
const float nan = std::numeric_limits<float>::quiet_NaN();

TEST(NumberText, EachVariant) {
    struct row {
        std::string got, want;
    };
    const std::vector<row> rows = {
        // Shortest Real: no digits beyond what reads back, words for non-numbers.
        {orv::write_real(0.15f), "0.15"},
        {orv::write_real(11.0218935f), "11.0218935"},
        {orv::write_real(1e-7f), "1e-07"},
        {orv::write_real(-0.0f), "-0"},
        {orv::write_real(nan), "nan"},
        {orv::write_real(-inf), "-inf"},
        {orv::write_real(2.5f, ','), "2,5"},
        {orv::write_real(0.15f, '.', 3), "0.150"},
        {orv::write_real(1.5f, '.', 99), "1.5" + std::string(59, '0')},
        // Shortest double.
        {orv::shortest(0.1), "0.1"},
        {orv::shortest(0.1 + 0.2), "0.30000000000000004"},
        {orv::shortest(1e21), "1e+21"},
        // People's text of a Real: no exponent from 0.0001 to 10^15.
        {orv::plain(1e6f), "1000000"},
        {orv::plain(1e-4f), "0.0001"},
        {orv::plain(1e-5f), "1e-05"},
        {orv::plain(1e15f), "1e+15"},
        // Fixed decimals, ASCII minus, the whole integer part of large values.
        {orv::fixed(-0.0001, 2), "-0.00"},
        {orv::fixed(2.5, 0), "2"},
        {orv::fixed(1e300, 1).substr(0, 3), "100"},
        // Pictures: typographic minus, no sign on what shows as zero.
        {orv::picture_number(-1.5, 1), "\u22121.5"},
        {orv::picture_number(-0.01, 1), "0.0"},
        {orv::picture_number(250, 0), "250"},
        // Grouped thousands, every digit of a value far beyond a short buffer.
        {orv::grouped(2600200.26, 1), "2'600'200.3"},
        {orv::grouped(-999.96, 1), "-1'000.0"},
        {orv::grouped(-0.04, 1), "0.0"},
    };
    for (const row& r : rows) EXPECT_EQ(r.got, r.want);
    EXPECT_EQ(orv::fixed(1e300, 1).size(), 303u);
    // 301 whole digits in groups of three, none lost.
    std::string digits = orv::grouped(-1e300, 2);
    EXPECT_EQ(digits.substr(0, 3), "-1'");
    EXPECT_EQ(std::erase(digits, '\''), 100u);
    EXPECT_EQ(digits, "-" + orv::fixed(1e300, 2));
}

// Every shortest text reads back as the same value, across binades.
TEST(NumberText, ShortestReadsBack) {
    for (float v = 1e-30f; v < 1e30f; v *= 1.37f) {
        EXPECT_EQ(orv::read_real(orv::write_real(v)).value, v);
        EXPECT_EQ(orv::read_real(orv::plain(-v)).value, -v);
        const double d = static_cast<double>(v) / 3;
        EXPECT_EQ(orv::read_double(orv::shortest(d)).value, d);
    }
}

TEST(Steps, UnusableValuesGiveOne) {
    for (double v : {0.0, -3.0, static_cast<double>(inf), static_cast<double>(nan)}) {
        EXPECT_EQ(orv::step_at_least(v), 1);
        EXPECT_EQ(orv::step_nearest(v), 1);
        EXPECT_EQ(orv::round_up_readable(v), 1);
        EXPECT_EQ(orv::round_down_readable(v), 1);
    }
    EXPECT_EQ(orv::step_at_least(0.3), 0.5);
    EXPECT_EQ(orv::round_down_readable(0.03), 0.02);
}

} // namespace
