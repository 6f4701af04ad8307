#include "consoleio/listread.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace orv {
namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float start_value = 42.0f;

std::uint32_t bits(float f) {
    return std::bit_cast<std::uint32_t>(f);
}

// Texts that give a value; compared bit for bit so the sign of zero counts.
TEST(ReadReal, Values) {
    const std::string tie_then_more = "16777217." + std::string(200, '0') + "1";
    struct row {
        std::string text;
        float want;
    } rows[] = {
        {"7", 7.0f},
        {"  7.5", 7.5f},
        {"-3", -3.0f},
        {"-0", -0.0f},
        {"+.5", 0.5f},
        {"5.", 5.0f},
        {"1e3", 1000.0f},
        {"1E3", 1000.0f},
        {"1d3", 1000.0f},
        {"1q3", 1000.0f},
        {"1E+03", 1000.0f},
        {"1.5e-2", 0.015f},
        {"1.5-2", 0.015f},
        {"1.5-3", 1.5e-3f},
        {"1D-2", 0.01f},
        {"2,5", 2.0f},
        {"3 4", 3.0f},
        {"4/", 4.0f},
        {"5;x", 5.0f},
        {"2*6", 6.0f},
        {"2*-5", -5.0f},
        {"\t7\t", 7.0f},
        {"7\t8", 7.0f},
        {"inf", inf},
        {"Infinity", inf},
        {"-INF", -inf},
        {"2*iNf", inf},
        {"1e39", inf},
        {"-1e39", -inf},
        {"1e-50", 0.0f},
        {"-1e-50", -0.0f},
        {"1e99999999999", inf},
        {"1e-99999999999", 0.0f},
        {"0.000000000000000000000000000000000000000001e42", 1.0f},
        {"16777217", 16777216.0f},
        {"16777219", 16777220.0f},
        {tie_then_more, 16777218.0f},
        {"200000000*1", 1.0f},
    };
    for (const row& r : rows) {
        float v = start_value;
        read_result res = read_real(r.text, v);
        EXPECT_EQ(res.outcome, read_outcome::value) << r.text;
        EXPECT_TRUE(res.message.empty()) << r.text;
        EXPECT_EQ(bits(v), bits(r.want)) << r.text << " gave " << v;
    }
}

// Rounding near the limits of the format agrees with the C library.
TEST(ReadReal, MatchesStrtof) {
    for (const char* text : {"1e-40", "3.14159265358979", "1.17549435e-38", "3.4028235e38",
                             "3.4028236e38", "7.0064923e-46", "7.0064924e-46", "1.4e-45",
                             "-2.5e-44", "0.1", "123456789012345678901234567890"}) {
        float v = start_value;
        EXPECT_EQ(read_real(text, v).outcome, read_outcome::value) << text;
        EXPECT_EQ(bits(v), bits(std::strtof(text, nullptr))) << text;
    }
}

// NaN in its written forms keeps the sign that was written.
TEST(ReadReal, NotANumber) {
    struct row {
        const char* text;
        bool negative;
    } rows[] = {{"nan", false}, {"NaN(1)", false}, {"nan()", false},
                {"-nan", true}, {"+NAN", false},   {"2*-NaN(x_y)", true}};
    for (const row& r : rows) {
        float v = start_value;
        EXPECT_EQ(read_real(r.text, v).outcome, read_outcome::value) << r.text;
        EXPECT_TRUE(std::isnan(v)) << r.text;
        EXPECT_EQ(std::signbit(v), r.negative) << r.text;
    }
}

// Null values, the end of the record and every error keep the variable.
TEST(ReadReal, OtherOutcomesKeepVariable) {
    const std::string bad = "Bad real number in item 1 of list input";
    const std::string zero = "Zero repeat count in item 1 of list input";
    const std::string over = "Repeat count overflow in item 1 of list input";
    const std::string digits = "Error during floating point read";
    using o = read_outcome;
    struct row {
        const char* text;
        o want;
        std::string message;
    } rows[] = {
        {",", o::null_value, ""},
        {";", o::null_value, ""},
        {"/", o::null_value, ""},
        {",5", o::null_value, ""},
        {"2*", o::null_value, ""},
        {"2* 5", o::null_value, ""},
        {" \t,", o::null_value, ""},
        {"3*/", o::null_value, ""},
        {"", o::eof, ""},
        {"\t", o::eof, ""},
        {" \t ", o::eof, ""},
        {"1.5m", o::error, bad},
        {"abc", o::error, bad},
        {"-", o::error, bad},
        {"- 5", o::error, bad},
        {"1.2.3", o::error, bad},
        {"1e", o::error, bad},
        {"1e+", o::error, bad},
        {"1.5-", o::error, bad},
        {"*5", o::error, bad},
        {"2*3*4", o::error, bad},
        {"-2*5", o::error, bad},
        {"infinit", o::error, bad},
        {"infx", o::error, bad},
        {"nan(1 2)", o::error, bad},
        {"nan(1", o::error, bad},
        {"nan(1)x", o::error, bad},
        {".e", o::error, bad},
        {"0*5", o::error, zero},
        {"0*", o::error, zero},
        {"200000001*1", o::error, over},
        {"99999999999999999999*", o::error, over},
        {".", o::error, digits},
        {"-.", o::error, digits},
        {".E5", o::error, digits},
        {"-.e5", o::error, digits},
    };
    for (const row& r : rows) {
        float v = start_value;
        read_result res = read_real(r.text, v);
        EXPECT_EQ(res.outcome, r.want) << r.text;
        EXPECT_EQ(std::string(res.message), r.message) << r.text;
        EXPECT_EQ(bits(v), bits(start_value)) << r.text;
    }
}

} // namespace
} // namespace orv
