// Numbers read to the nearest Real and written to read back exactly.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "base/number_text.h"
#include "csv/number.h"
#include "support/random_params.h"

namespace {

using orv::num_error;
using orv::test::bits;

struct read_case {
    const char* text;
    char dec;
    num_error err;
    float want;
};

TEST(Number, ReadReal) {
    const std::vector<read_case> cases = {
        {"5", '.', num_error::none, 5},           {" 0.15\t", '.', num_error::none, 0.15f},
        {"+2.5", '.', num_error::none, 2.5f},     {"-20", '.', num_error::none, -20},
        {"1e3", '.', num_error::none, 1000},      {"4000,5", ',', num_error::none, 4000.5f},
        {"0,15", ',', num_error::none, 0.15f},    {"1e-50", '.', num_error::none, 0},
        {"1e50", '.', num_error::none, INFINITY}, {"-1e50", '.', num_error::none, -INFINITY},
        {"inf", '.', num_error::none, INFINITY},  {"", '.', num_error::empty, 0},
        {"  ", '.', num_error::empty, 0},         {"0,15", '.', num_error::syntax, 0},
        {"0.15", ',', num_error::syntax, 0},      {"5m", '.', num_error::syntax, 0},
        {"1e", '.', num_error::syntax, 0},        {"+", '.', num_error::syntax, 0},
        {"+-5", '.', num_error::syntax, 0},       {"0x10", '.', num_error::syntax, 0},
        {"1 2", '.', num_error::syntax, 0},       {"1e50", ',', num_error::none, INFINITY},
        {"+,5", ',', num_error::none, 0.5f},      {"-1,5e3", ',', num_error::none, -1500},
        {"-1e-50", '.', num_error::none, -0.0f},  {"1,5,", ',', num_error::syntax, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto r = orv::read_real(c.text, c.dec);
        EXPECT_EQ(r.err, c.err);
        if (c.err == num_error::none) {
            EXPECT_EQ(bits(r.value), bits(c.want));
        }
    }
    EXPECT_EQ(orv::read_real(std::string(600, '1')).err, num_error::too_long);
    EXPECT_EQ(orv::read_real(" " + std::string(orv::max_number_len, '1') + " ").err,
              num_error::none);
    EXPECT_EQ(orv::read_real(std::string(orv::max_number_len + 1, '1')).err, num_error::too_long);
    EXPECT_TRUE(std::isnan(orv::read_real("nan").value));
}

// Decimal texts that a double would round twice: straight to float they
// must give what strtof gives. Random digit strings near float midpoints.
TEST(Number, ReadRealAgreesWithStrtof) {
    orv::test::random_params rnd(5);
    char buf[64];
    for (int i = 0; i < 200000; ++i) {
        const uint32_t u = static_cast<uint32_t>(rnd.next()) & 0x7f7fffffu;
        float f;
        std::memcpy(&f, &u, sizeof f);
        const float g = std::nextafter(f, INFINITY);
        // A long decimal near the midpoint of two neighbouring floats.
        std::snprintf(buf, sizeof buf, "%.*g", 9 + static_cast<int>(rnd.next() % 12),
                      (static_cast<double>(f) + g) / 2);
        const auto r = orv::read_real(buf);
        ASSERT_TRUE(r.ok()) << buf;
        ASSERT_EQ(bits(r.value), bits(std::strtof(buf, nullptr))) << buf;
    }
}

// Plain decimals of every length around the limits of direct reading
// (7 digits and 10 decimals for a Real, 15 and 22 for a double), in both
// separators: the same bits as strtof and strtod.
TEST(Number, PlainDecimalsAgreeWithStrto) {
    orv::test::random_params rnd(17);
    for (int i = 0; i < 200000; ++i) {
        const int digits = 1 + static_cast<int>(rnd.next() % 17);
        const int point = static_cast<int>(rnd.next() % (digits + 2)) - 1; // -1: none
        std::string t = rnd.next() % 3 == 0 ? "-" : "";
        for (int k = 0; k < digits; ++k) {
            if (k == point) t += '.';
            t += static_cast<char>('0' + rnd.next() % 10);
        }
        if (point == digits) t += '.';
        std::string comma = t;
        for (char& c : comma)
            if (c == '.') c = ',';
        const float f = std::strtof(t.c_str(), nullptr);
        const double d = std::strtod(t.c_str(), nullptr);
        for (const auto& [text, dec] : {std::pair{t, '.'}, std::pair{comma, ','}}) {
            const auto rf = orv::read_real(text, dec);
            const auto rd = orv::read_double(text, dec);
            ASSERT_TRUE(rf.ok() && rd.ok()) << text;
            ASSERT_EQ(bits(rf.value), bits(f)) << text;
            ASSERT_EQ(std::memcmp(&rd.value, &d, sizeof d), 0) << text;
        }
    }
}

TEST(Number, WriteRealReadsBack) {
    orv::test::random_params rnd(9);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t u = static_cast<uint32_t>(rnd.next());
        float f;
        std::memcpy(&f, &u, sizeof f);
        if (!std::isfinite(f)) continue;
        for (char dec : {'.', ','}) {
            const std::string s = orv::write_real(f, dec);
            const auto r = orv::read_real(s, dec);
            ASSERT_TRUE(r.ok()) << s;
            ASSERT_EQ(bits(r.value), bits(f)) << s;
        }
    }
}

TEST(Number, WriteRealTexts) {
    EXPECT_EQ(orv::write_real(0.50926512f), "0.5092651");
    EXPECT_EQ(orv::write_real(0.50926512f, ',', 2), "0,51");
    EXPECT_EQ(orv::write_real(100), "100");
    EXPECT_EQ(orv::write_real(7.0710678f), "7.071068");
    EXPECT_EQ(orv::write_real(NAN), "nan");
    EXPECT_EQ(orv::write_real(-INFINITY), "-inf");
    EXPECT_EQ(orv::write_real(1.5f, '.', 0), "2");
}

} // namespace
