// The date of a report from SOURCE_DATE_EPOCH: whole seconds within the
// years 1970 to 9999, anything else refused before a page is drawn.
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "report/document.h"
#include "support/command.h"

namespace {

TEST(ReportDate, SourceDateEpochRange) {
    struct row {
        const char* value;
        bool ok;
        const char* date;
    };
    const std::vector<row> rows = {
        {"0", true, "1970-01-01"},
        {"1780000000", true, "2026-05-28"},
        {"253402300799", true, "9999-12-31"},
        {"253402300800", false, ""},
        {"1000000000000000", false, ""}, // once printed as a year of ten digits
        {"99999999999999999999", false, ""},
        {"-1", false, ""},
        {"+5", false, ""},
        {" 5", false, ""},
        {"5 ", false, ""},
        {"17e8", false, ""},
        {"1700000000x", false, ""},
        {"heute", false, ""},
        {"", false, ""},
    };
    for (const row& r : rows) {
        setenv("SOURCE_DATE_EPOCH", r.value, 1);
        std::time_t t = 42;
        EXPECT_EQ(orv::report::report_date(t), r.ok) << r.value;
        if (r.ok) EXPECT_EQ(orv::report::date_text(t), r.date) << r.value;
    }
    unsetenv("SOURCE_DATE_EPOCH");
}

// Both commands that write reports refuse a date beyond year 9999 with
// status 2 and write nothing.
TEST(ReportDate, CommandsRefuseAnEpochBeyondTheYears) {
    const std::string d = orv::test::scratch_dir();
    orv::test::write_file(d + "/o.csv", "id,WKT\n1,\"POINT (2600050 1199995)\"\n");
    orv::test::write_file(d + "/a.csv",
                          "E,N,H,B,Vol,S,D,azimuth\n2600000,1200000,3,5,2000,4,0.1,90\n");
    const std::vector<std::string> site = {"-H",        "8",     "-B",       "20",
                                           "--vol",     "60000", "-S",       "6",
                                           "-D",        "0.1",   "--origin", "2600000,1200000",
                                           "--azimuth", "90",    "--crs",    "EPSG:2056"};
    std::vector<std::string> report = {"report", d + "/o.csv", "-o", d + "/r.pdf"};
    report.insert(report.end(), site.begin(), site.end());
    const std::vector<std::vector<std::string>> commands = {
        report,
        {"inventory", d + "/a.csv", "--objects", d + "/o.csv", "--crs", "EPSG:2056", "-o",
         d + "/i.csv", "--reports", d + "/berichte"},
    };
    for (const auto& c : commands) {
        for (const char* v : {"1000000000000000", "-5", "12abc"}) {
            std::vector<std::string> a = {"env", std::string("SOURCE_DATE_EPOCH=") + v,
                                          ORVALIS_BINARY};
            a.insert(a.end(), c.begin(), c.end());
            const auto r = orv::test::run_program("/usr/bin/env", a);
            EXPECT_EQ(r.code(), 2) << c[0] << " " << v << ": " << r.err;
            EXPECT_NE(r.err.find("SOURCE_DATE_EPOCH: ganze Sekunden von 0 bis 253402300799 "
                                 "erwartet (Jahre 1970 bis 9999)"),
                      std::string::npos)
                << r.err;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(d + "/r.pdf"));
    EXPECT_FALSE(std::filesystem::exists(d + "/i.csv"));
    EXPECT_FALSE(std::filesystem::exists(d + "/berichte"));
}

} // namespace
