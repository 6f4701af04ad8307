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

// Three significant digits; a value below a threshold never shows as reaching it.
TEST(NumberText, ThreeDigitsStayBelowTheirLimits) {
    const std::vector<float> lv = {0.5f, 1.0f, 2.0f};
    const std::vector<float> tenths = {0.3f};
    const struct {
        float v;
        const std::vector<float>* limits;
        const char* want;
    } rows[] = {
        // Plain rounding where no limit lies between the value and its text.
        {1.894f, nullptr, "1.89"},
        {1.895f, &lv, "1.89"}, // the Real lies just below 1.895
        {1.996f, nullptr, "2.00"},
        {0.012345f, nullptr, "0.0123"},
        {12.345f, nullptr, "12.3"},
        {99.96f, nullptr, "100"},
        {9.996f, nullptr, "10.0"},
        {0.0009996f, nullptr, "0.00100"},
        {123.4f, nullptr, "123"},
        {2345.6f, nullptr, "2'346"},
        {1234567.0f, nullptr, "1'234'567"},
        {1e-7f, nullptr, "0.000000100"},
        {-0.0456f, nullptr, "-0.0456"},
        {-13.25f, nullptr, "-13.2"},
        {-1234.5f, nullptr, "-1'234"},
        {0.0f, &lv, "0"},
        // Just under a threshold: cut, never shown at it.
        {1.996f, &lv, "1.99"},
        {1.9999999f, &lv, "1.99"},
        {0.9996f, &lv, "0.999"},
        {0.99951f, &lv, "0.999"},
        {0.49999f, &lv, "0.499"},
        {0.4996f, &lv, "0.499"},
        {0.2996f, &tenths, "0.299"}, // the limit as read, not the Real above 0.3
        // At or above a threshold: plain rounding.
        {2.0f, &lv, "2.00"},
        {2.004f, &lv, "2.00"},
        {1.0004f, &lv, "1.00"},
        {0.5f, &lv, "0.500"},
        {0.4994f, &lv, "0.499"},
        {-1.996f, &lv, "-2.00"}, // below every limit and far from them
    };
    for (const auto& r : rows) {
        const std::string got =
            r.limits ? orv::three_digits(r.v, *r.limits) : orv::three_digits(r.v);
        EXPECT_EQ(got, r.want) << r.v;
    }
    EXPECT_EQ(orv::three_digits(nan, lv), "");
    EXPECT_EQ(orv::three_digits(-inf), "-inf");
}

// Every text below a limit reads back below it, across the range of a threshold.
TEST(NumberText, ThreeDigitsNeverReachTheLimitAbove) {
    for (const float t : {0.5f, 1.0f, 2.0f, 0.3f, 25.0f, 0.07f}) {
        const std::vector<float> lim = {t};
        for (float v = t * 0.98f; v < t; v = std::nextafter(v, t)) {
            std::string s = orv::three_digits(v, lim);
            std::erase(s, '\'');
            ASSERT_LT(std::stod(s), std::stod(orv::plain(t))) << v << " shown " << s;
        }
    }
}

TEST(NumberText, CountsInTheirNumber) {
    const struct {
        std::uint64_t n;
        const char* want;
    } rows[] = {{0, "0 Anlagen"}, {1, "1 Anlage"}, {2, "2 Anlagen"}, {1001, "1001 Anlagen"}};
    for (const auto& r : rows) EXPECT_EQ(orv::counted(r.n, "Anlage", "Anlagen"), r.want);
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
