// The parameter table as the commands read it: which column names give a
// parameter, and the names listed in messages and CSV headers.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "batch/columns.h"
#include "model/params.h"

namespace {

using orv::batch::param_slot;

// Column names as batch and inventory headers match them: the one-letter
// names exactly, Vol in any case, blanks and near misses never.
TEST(ParamTable, ColumnNames) {
    struct row {
        const char* name;
        int point; // the slot with x and y looked for
        int site;  // the slot with only the five of the site
    };
    const std::vector<row> rows = {
        {"H", 0, 0},    {"B", 1, 1},      {"Vol", 2, 2}, {"vol", 2, 2},   {"VOL", 2, 2},
        {"vOl", 2, 2},  {"S", 3, 3},      {"D", 4, 4},   {"x", 5, -1},    {"y", 6, -1},
        {"h", -1, -1},  {"s", -1, -1},    {"X", -1, -1}, {" H", -1, -1},  {"H ", -1, -1},
        {"Vo", -1, -1}, {"Voll", -1, -1}, {"", -1, -1},  {"V6L", -1, -1}, {"azimuth", -1, -1},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(param_slot(r.name, true), r.point);
        EXPECT_EQ(param_slot(r.name, false), r.site);
    }
}

TEST(ParamTable, NamesListed) {
    EXPECT_EQ(orv::param_names(0, orv::n_params, ","), "H,B,Vol,S,D,x,y");
    EXPECT_EQ(orv::param_names(0, orv::n_site_params, ", "), "H, B, Vol, S, D");
    EXPECT_EQ(orv::param_names(5, 7, ";"), "x;y");
    EXPECT_EQ(orv::param_names(3, 3, ","), "");
}

// Only Vol matches in any case; every parameter has an option and a help text.
TEST(ParamTable, Entries) {
    for (int k = 0; k < orv::n_params; ++k) {
        const orv::param_info& p = orv::param_table[k];
        SCOPED_TRACE(p.name);
        EXPECT_EQ(p.any_case, std::string(p.name) == "Vol");
        EXPECT_TRUE(orv::names_param(p.name, k));
        EXPECT_NE(std::string(p.what).find(std::string(" ") + p.name + " "), std::string::npos);
        EXPECT_EQ(std::string(p.option).back(), std::string(p.name) == "Vol" ? 'l' : p.name[0]);
    }
}

} // namespace
