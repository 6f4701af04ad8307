// The level words: one rule in two forms, ASCII for the terminal and UTF-8
// for pictures, both with the threshold as the summaries print it.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/level_text.h"

namespace {

bool ascii(const std::string& s) {
    for (unsigned char c : s)
        if (c > 0x7f) return false;
    return true;
}

TEST(LevelText, RuleInBothForms) {
    struct row {
        orv::real t;
        orv::charset c;
        std::string want;
    };
    const std::vector<row> rows = {
        {0.5f, orv::charset::ascii, "h > 0.5 m oder q > 0.5 m2/s"},
        {0.5f, orv::charset::utf8, "h > 0.5 m oder q > 0.5 m\u00b2/s"},
        {1e6f, orv::charset::ascii, "h > 1000000 m oder q > 1000000 m2/s"},
        {0.15f, orv::charset::utf8, "h > 0.15 m oder q > 0.15 m\u00b2/s"},
    };
    for (const row& r : rows) {
        const std::string got = orv::level_rule(r.t, r.c);
        EXPECT_EQ(got, r.want);
        if (r.c == orv::charset::ascii) {
            EXPECT_TRUE(ascii(got)) << got;
        }
    }
}

TEST(LevelText, WarningAndZoneWords) {
    const std::string a = orv::not_computed_warning(orv::charset::ascii);
    EXPECT_EQ(a, "Nicht berechnet heisst nicht: keine Gefahr.");
    EXPECT_TRUE(ascii(a));
    // The one-line UTF-8 form is the legend's two lines joined.
    EXPECT_EQ(orv::not_computed_warning(orv::charset::utf8),
              "\u201eNicht berechnet\u201c heisst nicht \u201ekeine Gefahr\u201c.");
    const std::pair<int, const char*> zones[] = {{1, "zu nahe an der Bresche"},
                                                 {2, "jenseits der Tabellen"},
                                                 {4, "jenseits der Tabellen"},
                                                 {5, "oberhalb der Bresche"}};
    for (const auto& [st, want] : zones) EXPECT_EQ(orv::no_result_label(st), want) << st;
    EXPECT_EQ(orv::level_name(3), "Stufe 3");
}

} // namespace
