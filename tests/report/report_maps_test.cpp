// The report's maps end to end: labels as text a reader can search, the
// labels without place named under the map, and the overview page exactly
// when an object lies outside the detail map.
#include <cmath>
#include <cstdio>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "map/extent.h"
#include "model/level.h"
#include "model/point.h"
#include "report/world_picture.h"
#include "support/command.h"

namespace {

using orv::test::read_file;
using orv::test::run_orvalis;
using orv::test::run_program;
using orv::test::scratch_dir;
using orv::test::write_file;

orv::params site_params() {
    orv::params p;
    p.h = 8, p.b = 20, p.vol = 60000, p.slp = 6, p.dm = 0.1f;
    return p;
}

// The world point at jet (x, y) for a breach at 2'600'000, 1'200'000 facing 33 degrees.
void world(double x, double y, double& e, double& n) {
    const double a = 33 * std::numbers::pi / 180;
    e = 2600000 + x * std::sin(a) - y * std::cos(a);
    n = 1200000 + x * std::cos(a) + y * std::sin(a);
}

int level_at_jet(double x, double y) {
    const orv::point_result r = orv::evaluate(orv::make_site(site_params()),
                                              static_cast<orv::real>(x),
                                              static_cast<orv::real>(std::fabs(y)));
    return orv::danger_level(r.st, r.res, orv::levels{});
}

// A point layer "objekte.geojson" in EPSG:2056 of named points at jet (x, y).
struct named {
    std::string name;
    double x, y;
};
void write_points(const std::string& dir, const std::vector<named>& ps) {
    std::string s = "{\"type\":\"FeatureCollection\",\"crs\":{\"type\":\"name\",\"properties\":"
                    "{\"name\":\"urn:ogc:def:crs:EPSG::2056\"}},\"features\":[";
    for (std::size_t k = 0; k < ps.size(); ++k) {
        double e, n;
        world(ps[k].x, ps[k].y, e, n);
        char g[160];
        std::snprintf(g, sizeof g, "{\"type\":\"Point\",\"coordinates\":[%.3f,%.3f]}", e, n);
        if (k) s += ',';
        s += "{\"type\":\"Feature\",\"properties\":{\"name\":\"" + ps[k].name +
             "\"},\"geometry\":" + g + "}";
    }
    write_file(dir + "/objekte.geojson", s + "]}");
}

std::vector<std::string> report_args(const std::string& out, const std::string& format) {
    return {"report", "objekte.geojson", "-H", "8", "-B", "20", "--vol", "60000", "-S", "6",
            "-D", "0.1", "--origin", "2600000,1200000", "--azimuth", "33", "--crs", "EPSG:2056",
            "--label", "name", "--format", format, "-o", out};
}

// The PDF's pages as text, one string a page.
std::vector<std::string> pdf_pages(const std::string& path) {
    const std::string all = run_program("/usr/bin/pdftotext", {"pdftotext", path, "-"}).out;
    std::vector<std::string> pages;
    std::size_t k = 0;
    for (std::size_t f; (f = all.find('\f', k)) != std::string::npos; k = f + 1)
        pages.push_back(all.substr(k, f - k));
    return pages;
}

// The text of the pages before the first table of objects.
std::string before_tables(const std::vector<std::string>& pages) {
    std::string s;
    for (const std::string& p : pages) {
        if (p.find("Objekte ab Stufe 1") != std::string::npos) break;
        s += p;
    }
    return s;
}

// How often name stands in s as a whole name (not the start of a longer one).
std::size_t times(const std::string& s, const std::string& name) {
    const std::regex re(name + "(?![0-9])");
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(s.begin(), s.end(), re), std::sregex_iterator()));
}

TEST(ReportMaps, OverviewExactlyWhenAnObjectLiesOutsideTheDetailMap) {
    const auto range = orv::map::find_table_range(orv::make_site(site_params()));
    ASSERT_TRUE(range);
    const double beyond = 2.5 * range->far; // down the valley, past the tables
    const struct {
        const char* what;
        std::vector<named> points;
        bool overview;
        const char* listed; // under the overview as outside it too; empty for none
    } cases[] = {
        {"all near the breach", {{"Haus A", 40, 0}, {"Haus B", 60, -10}}, false, ""},
        {"one down the valley", {{"Haus A", 40, 0}, {"Scheune Tal", beyond, 0}}, true, ""},
        {"one far away besides",
         {{"Haus A", 40, 0}, {"Scheune Tal", beyond, 0}, {"Huette Fern", 60000, 0}},
         true,
         "ausserhalb der Übersicht: objekte: Huette Fern"},
    };
    for (const auto& c : cases) {
        const std::string dir = scratch_dir();
        write_points(dir, c.points);
        const auto r = run_orvalis(report_args("b.pdf", "pdf"), {}, dir);
        ASSERT_EQ(r.code() == 0 || r.code() == 3, true) << c.what << ": " << r.err;
        const auto pages = pdf_pages(dir + "/b.pdf");
        ASSERT_GE(pages.size(), 3u) << c.what;
        EXPECT_EQ(pages[0].find("Übersicht") == std::string::npos, true) << c.what;
        EXPECT_EQ(pages[1].find("Übersicht") != std::string::npos, c.overview) << c.what;
        const std::string all = before_tables(pages);
        EXPECT_EQ(all.find("ausserhalb der") != std::string::npos, *c.listed != 0) << c.what;
        // An object off a map is listed as such, never as a label without place.
        EXPECT_EQ(all.find("ohne Platz"), std::string::npos) << c.what;
        if (*c.listed) {
            EXPECT_NE(all.find(c.listed), std::string::npos) << c.what << all;
        }
        if (c.overview) {
            // The open object down the valley is named on the overview.
            EXPECT_NE(pages[1].find("Ende der Tabellen"), std::string::npos);
            EXPECT_NE(pages[1].find("Scheune Tal"), std::string::npos) << c.what;
        }

        const auto h = run_orvalis(report_args("b.html", "html"), {}, dir);
        ASSERT_EQ(h.code(), r.code()) << c.what << ": " << h.err;
        const std::string html = read_file(dir + "/b.html");
        std::size_t svgs = 0;
        for (auto k = html.find("<svg"); k != std::string::npos; k = html.find("<svg", k + 1))
            ++svgs;
        EXPECT_EQ(svgs, c.overview ? 3u : 2u) << c.what;
        if (*c.listed) {
            EXPECT_NE(html.find(c.listed), std::string::npos) << c.what;
        }
    }
}

TEST(ReportMaps, EveryLabelIsSearchableTextOrNamedAsWithoutPlace) {
    const struct {
        const char* what;
        int count;
        bool crowded;
    } cases[] = {
        {"a few, all with room", 4, false},
        {"a crowd of 60 on 10 m", 60, true},
    };
    for (const auto& c : cases) {
        const std::string dir = scratch_dir();
        std::vector<named> ps;
        for (int k = 0; k < c.count; ++k)
            ps.push_back({"Objekt " + std::to_string(k), 30.0 + (k % 12) * (c.crowded ? 10 : 60),
                          -40.0 + (k / 12) * (c.crowded ? 10 : 40)});
        write_points(dir, ps);
        const auto r = run_orvalis(report_args("b.pdf", "pdf"), {}, dir);
        ASSERT_EQ(r.code(), 0) << c.what << ": " << r.err;
        // Footers dropped and lines joined: the list may break between a
        // name's words, also across a page.
        std::string text = before_tables(pdf_pages(dir + "/b.pdf"));
        text = std::regex_replace(text, std::regex("\\S+ \u00b7 [0-9-]+\\s+Seite [0-9]+"), " ");
        text = std::regex_replace(text, std::regex("\\s+"), " ");
        const auto note = text.find("ohne Platz: ");
        EXPECT_EQ(note != std::string::npos, c.crowded) << c.what;
        const std::string listed = note == std::string::npos ? "" : text.substr(note);
        std::size_t drawn = 0;
        for (int k = 0; k < c.count; ++k) {
            if (level_at_jet(ps[k].x, ps[k].y) < 1) continue;
            const std::string name = "Objekt " + std::to_string(k);
            // On the map as text, or in the list: once, never both, never neither.
            EXPECT_EQ(times(text, name), 1u) << c.what << ": " << name;
            drawn += times(listed, name) == 0;
        }
        EXPECT_GT(drawn, 0u) << c.what;
    }
}

} // namespace

// The list of objects beyond the overview names the first 50 and counts
// the rest, so that a register's thousands of objects far off stay a line.
TEST(ReportMaps, BeyondTheOverviewNamesFiftyThenCounts) {
    struct beyond_case {
        std::size_t objects;
        const char* tail; // how the line ends
    };
    const std::vector<beyond_case> cases = {
        {0, ""}, {1, "ausserhalb der \u00dcbersicht: Haus: 0"}, {50, ", Haus: 49"},
        {51, ", Haus: 49 und 1 weitere"}, {400, ", Haus: 49 und 350 weitere"}};
    for (const beyond_case& c : cases) {
        std::vector<orv::draw::map_object> objects(c.objects);
        std::vector<std::size_t> beyond;
        for (std::size_t k = 0; k < c.objects; ++k) {
            objects[k].name = std::to_string(k);
            objects[k].far = true;
            beyond.push_back(k);
        }
        const std::string s = orv::report::beyond_line(objects, beyond, {"Haus"});
        EXPECT_TRUE(s.ends_with(c.tail)) << c.objects << ": " << s;
        EXPECT_EQ(s.find("Haus: 50"), std::string::npos) << s;
    }
}
