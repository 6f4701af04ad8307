#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "consoleio/edit.h"
#include "consoleio/format.h"
#include "support/reference.h"

namespace orv {
namespace {

std::string f_edit(float x, int w, int d) {
    char buf[max_width];
    edit_f({buf, static_cast<std::size_t>(w)}, d, x);
    return std::string(buf, static_cast<std::size_t>(w));
}

std::string i_edit(int32_t k, int w) {
    char buf[max_width];
    edit_i({buf, static_cast<std::size_t>(w)}, k);
    return std::string(buf, static_cast<std::size_t>(w));
}

constexpr float inf = std::numeric_limits<float>::infinity();
const float nan = std::nanf("");

struct f_case {
    float x;
    int w, d;
    const char* want;
};

TEST(FEditing, Table) {
    const f_case cases[] = {
        {5, 6, 2, "  5.00"},
        {10, 6, 2, " 10.00"},
        {0.15f, 6, 3, " 0.150"},
        {0.5f, 6, 2, "  0.50"},
        {-0.5f, 6, 2, " -0.50"},
        {0.996f, 6, 2, "  1.00"},
        {123.456f, 6, 2, "123.46"},
        {999.996f, 6, 2, "******"},
        {-99.99f, 6, 2, "-99.99"},
        {-99.996f, 6, 2, "******"},
        {-9.9999f, 6, 3, "******"},
        {0.0005f, 6, 3, " 0.001"},
        {-0.0004f, 6, 3, "-0.000"},
        {0.004f, 8, 2, "    0.00"},
        {-0.004f, 8, 2, "   -0.00"},
        {-0.0f, 8, 2, "   -0.00"},
        {0.005f, 8, 2, "    0.00"},
        {0.125f, 8, 2, "    0.12"},
        {0.375f, 8, 2, "    0.38"},
        {0.0625f, 6, 3, " 0.062"},
        {12345.678f, 8, 2, "12345.68"},
        {-1234.5f, 8, 2, "-1234.50"},
        {-12345.5f, 8, 2, "********"},
        {1.0e10f, 8, 2, "********"},
        {inf, 8, 2, "Infinity"},
        {-inf, 8, 2, "    -Inf"},
        {nan, 8, 2, "     NaN"},
        {inf, 6, 2, "   Inf"},
        {-inf, 6, 2, "  -Inf"},
        {nan, 6, 3, "   NaN"},
        {-nan, 8, 2, "     NaN"},
        {0.5f, 3, 2, ".50"},
        {-0.5f, 4, 2, "-.50"},
        {-0.5f, 5, 2, "-0.50"},
        {nan, 2, 1, "**"},
        {inf, 2, 0, "**"},
        {-inf, 3, 0, "***"},
        {-inf, 9, 2, "-Infinity"},
        {2.5f, 4, 0, "  2."},
        {3.5f, 4, 0, "  4."},
        {0, 4, 2, "0.00"},
        {1.0e-45f, 8, 2, "    0.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(f_edit(c.x, c.w, c.d), c.want) << c.x << " F" << c.w << "." << c.d;
}

TEST(FEditing, AgreesWithCLibraryOnSpreadOfBitPatterns) {
    // The C library's fixed-point conversion of the widened value is the oracle.
    const ref::f_ref refs[] = {{8, 2}, {6, 2}, {6, 3}, {40, 30}, {max_width, max_decimals}};
    uint32_t bits = 0x12345678;
    for (int k = 0; k < 200000; ++k) {
        bits = bits * 1664525u + 1013904223u; // spread over all exponents
        float x;
        std::memcpy(&x, &bits, sizeof x);
        if (!std::isfinite(x)) continue;
        for (const auto& r : refs) {
            char want[ref::max_w];
            r.field(want, x);
            ASSERT_EQ(f_edit(x, r.w(), r.d()), std::string(want, static_cast<std::size_t>(r.w())))
                << bits;
        }
    }
}

TEST(IEditing, Table) {
    const struct {
        int32_t k;
        int w;
        const char* want;
    } cases[] = {
        {4000, 10, "      4000"},
        {100, 6, "   100"},
        {0, 6, "     0"},
        {-5, 6, "    -5"},
        {123456, 6, "123456"},
        {-12345, 6, "-12345"},
        {1234567, 6, "******"},
        {-100000, 6, "******"},
        {2147483647, 10, "2147483647"},
        {-2147483647 - 1, 10, "**********"},
        {-2147483647 - 1, 11, "-2147483648"},
    };
    for (const auto& c : cases) EXPECT_EQ(i_edit(c.k, c.w), c.want) << c.k;
}

TEST(AEditing, TruncatesOrRightJustifies) {
    char buf[8];
    edit_a({buf, 3}, "abcdef");
    EXPECT_EQ(std::string(buf, 3), "abc");
    edit_a({buf, 5}, "ab");
    EXPECT_EQ(std::string(buf, 5), "   ab");
}

TEST(FormatParser, DescriptorsOfTheDialogueFormats) {
    fmt_cursor c{"( / , 'it''s' ,\t\"q\"\"\" F8.2 i10 a31 A $ )"};
    const desc_kind want[] = {desc_kind::slash, desc_kind::text,   desc_kind::text,
                              desc_kind::f,     desc_kind::i,      desc_kind::a,
                              desc_kind::a,     desc_kind::dollar, desc_kind::end};
    desc got[9];
    for (auto& g : got) g = next_desc(c);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(got[k].kind, want[k]) << k;
    EXPECT_EQ(got[1].text, "it''s");
    EXPECT_EQ(got[2].text, "q\"\"");
    EXPECT_EQ(got[3].w, 8);
    EXPECT_EQ(got[3].d, 2);
    EXPECT_EQ(got[4].w, 10);
    EXPECT_EQ(got[5].w, 31);
    EXPECT_EQ(got[6].w, 0);
}

TEST(FormatParser, RejectsMalformedFormats) {
    for (const char* bad : {"", "x", "('abc)", "(f8)", "(f.2)", "(i)", "(q5)", "(a0)", "(f8.2"})
        EXPECT_FALSE(format_ok(bad)) << bad;
    EXPECT_TRUE(format_ok("(/,' [I]ntensitaet [H]ilfe e[X]it> ',$)"));
}

} // namespace
} // namespace orv
