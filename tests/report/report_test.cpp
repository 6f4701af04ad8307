// Maps in world coordinates and orvalis report end to end: pixels of the
// zones, objects and a reprojected background where the world puts them,
// the north arrow, the PDF's pages and text, reproducible bytes, HTML.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <span>
#include <string>
#include <vector>

#include <cairo.h>
#include <cpl_conv.h>
#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_srs_api.h>

#include "base/number_text.h"
#include "draw/style.h"
#include "draw/world_map.h"
#include "map/frame.h"
#include "model/level.h"
#include "model/point.h"
#include "support/command.h"

namespace {

using orv::test::read_file;
using orv::test::run_orvalis;
using orv::test::run_program;
using orv::test::scratch_dir;
using orv::test::write_file;

const orv::map::georef g{2600000, 1200000, 33}; // a turn that is no multiple of 90 degrees

std::vector<std::string> site(const std::string& cmd) {
    return {cmd,  "-H",    "8",        "-B",  "20",       "--vol",           "60000",
            "-S", "6",     "-D",       "0.1", "--origin", "2600000,1200000", "--azimuth",
            "33", "--crs", "EPSG:2056"};
}

// The level the model gives at world point (e, n), by the jet formula of batch.
int level_at(double e, double n) {
    orv::params p;
    p.h = 8, p.b = 20, p.vol = 60000, p.slp = 6, p.dm = 0.1f;
    const orv::map::jet_point j = orv::map::to_jet(g, e, n);
    const orv::point_result r = orv::evaluate(orv::make_site(p), static_cast<orv::real>(j.x),
                                              static_cast<orv::real>(std::fabs(j.y)));
    return orv::danger_level(r.st, r.res, orv::levels{});
}

// The world point at jet (x, y).
void world(double x, double y, double& e, double& n) {
    const double a = g.azimuth * std::numbers::pi / 180;
    e = g.e0 + x * std::sin(a) - y * std::cos(a);
    n = g.n0 + x * std::cos(a) + y * std::sin(a);
}

// A GeoJSON layer in EPSG:2056 of the given features (geometry JSON, name).
void write_layer(const std::string& path,
                 const std::vector<std::pair<std::string, std::string>>& fs) {
    std::string s = "{\"type\":\"FeatureCollection\",\"crs\":{\"type\":\"name\",\"properties\":"
                    "{\"name\":\"urn:ogc:def:crs:EPSG::2056\"}},\"features\":[";
    for (std::size_t k = 0; k < fs.size(); ++k) {
        if (k) s += ',';
        s += "{\"type\":\"Feature\",\"properties\":{\"name\":\"";
        s += fs[k].second;
        s += "\"},\"geometry\":";
        s += fs[k].first;
        s += '}';
    }
    write_file(path, s + "]}");
}

std::string point_json(double e, double n) {
    char b[120];
    std::snprintf(b, sizeof b, "{\"type\":\"Point\",\"coordinates\":[%.3f,%.3f]}", e, n);
    return b;
}

// The opaque pixel of an ARGB32 or RGB24 image at page point (x, y), as 0xRRGGBB.
uint32_t pixel_at(cairo_surface_t* s, double x, double y) {
    cairo_surface_flush(s);
    const auto* row = cairo_image_surface_get_data(s) + static_cast<std::ptrdiff_t>(std::floor(y)) *
                                                            cairo_image_surface_get_stride(s);
    return reinterpret_cast<const uint32_t*>(row)[static_cast<int>(std::floor(x))] & 0xffffff;
}

uint32_t rgb_of(int level) {
    return orv::draw::pixel(orv::draw::level_colour(level)) & 0xffffff;
}

// The world box of an --extent text.
orv::map::world_box box_of(double e0, double n0, double e1, double n1) {
    return {e0, n0, e1, n1};
}

std::string extent_text(const orv::map::world_box& b) {
    char t[200];
    std::snprintf(t, sizeof t, "%.3f,%.3f,%.3f,%.3f", b.e0, b.n0, b.e1, b.n1);
    return t;
}

TEST(WorldMap, ObjectAndZoneCellLieWhereTheWorldPutsThem) {
    const std::string dir = scratch_dir();
    double oe, on, ze = 0, zn = 0;
    world(60, 5, oe, on); // an object deep in level 3
    int zone = 0;
    // A zone cell of level 1 or 2 in the middle of a band at least 12 m wide, x = 250.
    for (double y = 0, start = 0; y < 300 && zone == 0; y += 1) {
        double e, n;
        world(250, y, e, n);
        const int lv = level_at(e, n);
        double pe, pn;
        world(250, start, pe, pn);
        if (lv != level_at(pe, pn)) start = y;
        if ((lv == 1 || lv == 2) && y - start >= 12) zone = lv, world(250, y - 6, ze, zn);
    }
    ASSERT_NE(zone, 0);
    ASSERT_EQ(level_at(oe, on), 3);
    write_layer(dir + "/o.geojson", {{point_json(oe, on), "Haus"}});
    const orv::map::world_box want = box_of(2599700, 1199700, 2600500, 1200400);
    std::vector<std::string> a = site("map");
    for (const char* s : {"--objects", "o.geojson", "-o", "k.png", "--width", "1000", "--height",
                          "800", "--extent"})
        a.push_back(s);
    a.push_back(extent_text(want));
    const auto r = run_orvalis(a, {}, dir);
    ASSERT_EQ(r.code(), 0) << r.err;

    const orv::draw::world_frame f = orv::draw::place_world(1000, 800, want);
    cairo_surface_t* s = cairo_image_surface_create_from_png((dir + "/k.png").c_str());
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(pixel_at(s, f.X(oe), f.Y(on)), rgb_of(3));
    EXPECT_EQ(pixel_at(s, f.X(ze), f.Y(zn)), rgb_of(zone));
    // Upstream of the breach, outside the computed extent: nothing drawn.
    double ue, un;
    world(-150, 0, ue, un);
    EXPECT_EQ(pixel_at(s, f.X(ue), f.Y(un)), 0xffffffu);
    cairo_surface_destroy(s);
}

TEST(WorldMap, NorthArrowPointsUp) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 100, 140);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    orv::draw::north_arrow(cr, 50, 10, 100);
    cairo_destroy(cr);
    // Narrow at the top, wide at the bottom of the arrow, white beside the tip.
    EXPECT_LT(pixel_at(s, 50, 16) & 0xff, 0x40u);
    EXPECT_EQ(pixel_at(s, 30, 16), 0xffffffu);
    EXPECT_EQ(pixel_at(s, 70, 16), 0xffffffu);
    EXPECT_LT(pixel_at(s, 32, 70) & 0xff, 0x40u);
    EXPECT_LT(pixel_at(s, 68, 70) & 0xff, 0x40u);
    EXPECT_EQ(pixel_at(s, 50, 3), 0xffffffu);
    cairo_surface_destroy(s);
}

TEST(WorldMap, GroupedNumbers) {
    const std::pair<double, int> in[] = {
        {2600200, 0}, {-1250.5, 1}, {999, 0}, {1000, 0}, {-0.01, 1}};
    const char* out[] = {"2'600'200", "-1'250.5", "999", "1'000", "0.0"};
    for (std::size_t k = 0; k < std::size(out); ++k)
        EXPECT_EQ(orv::grouped(in[k].first, in[k].second), out[k]);
}

// An RGB GeoTIFF in LV03 (EPSG:21781): blue, with a red square of 40 m
// around the LV03 point (ce, cn).
void write_background(const std::string& path, double ce, double cn) {
    GDALAllRegister();
    const int w = 200, h = 200;
    GDALDatasetH ds =
        GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), w, h, 3, GDT_Byte, nullptr);
    double gt[6] = {ce - 500, 5, 0, cn + 500, 0, -5};
    GDALSetGeoTransform(ds, gt);
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, 21781);
    char* wkt = nullptr;
    OSRExportToWkt(srs, &wkt);
    GDALSetProjection(ds, wkt);
    CPLFree(wkt);
    OSRDestroySpatialReference(srs);
    std::vector<uint8_t> band(w * h);
    for (int b = 0; b < 3; ++b) {
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i) {
                const bool red = std::abs(i - 100) < 4 && std::abs(j - 100) < 4;
                band[j * w + i] = b == 0 ? (red ? 255 : 0) : b == 2 ? (red ? 0 : 255) : 0;
            }
        ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(ds, b + 1), GF_Write, 0, 0, w, h, band.data(), w,
                               h, GDT_Byte, 0, 0),
                  CE_None);
    }
    GDALClose(ds);
}

TEST(WorldMap, BackgroundInAnotherSystemLandsWhereItBelongs) {
    const std::string dir = scratch_dir();
    // Upstream of the breach, where no zone covers the background.
    double e, n;
    world(-250, 0, e, n);
    OGRSpatialReferenceH lv95 = OSRNewSpatialReference(nullptr),
                         lv03 = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(lv95, 2056);
    OSRImportFromEPSG(lv03, 21781);
    OSRSetAxisMappingStrategy(lv95, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(lv03, OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformationH ct = OCTNewCoordinateTransformation(lv95, lv03);
    double x = e, y = n;
    ASSERT_TRUE(OCTTransform(ct, 1, &x, &y, nullptr));
    OCTDestroyCoordinateTransformation(ct);
    OSRDestroySpatialReference(lv95);
    OSRDestroySpatialReference(lv03);
    write_background(dir + "/bg.tif", x, y);
    const orv::map::world_box want = box_of(e - 300, n - 300, e + 300, n + 300);
    std::vector<std::string> a = site("map");
    for (const char* s :
         {"--background", "bg.tif", "-o", "k.png", "--width", "900", "--height", "700", "--extent"})
        a.push_back(s);
    a.push_back(extent_text(want));
    const auto r = run_orvalis(a, {}, dir);
    ASSERT_EQ(r.code(), 0) << r.err;
    const orv::draw::world_frame f = orv::draw::place_world(900, 700, want);
    cairo_surface_t* s = cairo_image_surface_create_from_png((dir + "/k.png").c_str());
    EXPECT_EQ(pixel_at(s, f.X(e), f.Y(n)), 0xff0000u);
    EXPECT_EQ(pixel_at(s, f.X(e + 60), f.Y(n - 60)), 0x0000ffu);
    cairo_surface_destroy(s);
}

TEST(WorldMap, OptionsTheFrameCannotTake) {
    const std::string dir = scratch_dir();
    write_file(dir + "/two.asc",
               "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\n1.5 2\n3 4\n");
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"--frame", "jet", "--background", "two.asc", "-o", "k.png"}, 2},
        {{"--background", "two.asc", "-o", "k.png"}, 1}, // a Float32 band is no picture
        {{"--extent", "1,2,3", "-o", "k.png"}, 1},
        {{"--objects", "missing.gpkg", "-o", "k.png"}, 1},
    };
    for (const auto& [extra, code] : cases) {
        std::vector<std::string> a = site("map");
        a.insert(a.end(), extra.begin(), extra.end());
        const auto r = run_orvalis(a, {}, dir);
        EXPECT_EQ(r.code(), code) << extra[0] << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir + "/k.png")) << extra[0];
    }
}

// A layer of n points inside the zones, named "Objekt k".
std::string many_objects(const std::string& dir, int count) {
    std::vector<std::pair<std::string, std::string>> fs;
    for (int k = 0; k < count; ++k) {
        double e, n;
        world(30 + (k % 30) * 10, -60 + (k / 30) * 10, e, n);
        fs.push_back({point_json(e, n), "Objekt " + std::to_string(k)});
    }
    write_layer(dir + "/objekte.geojson", fs);
    return "objekte.geojson";
}

std::vector<std::string> report_args(const std::string& src, const std::string& out) {
    std::vector<std::string> a = site("report");
    a.insert(a.begin() + 1, src);
    for (const char* s : {"--title", "Weiher Test", "--label", "name", "-o"}) a.push_back(s);
    a.push_back(out);
    return a;
}

TEST(Report, PdfPagesTextAndReproducibleBytes) {
    const std::string dir = scratch_dir();
    const std::string src = many_objects(dir, 300);
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    const auto r = run_orvalis(report_args(src, "b.pdf"), {}, dir);
    ASSERT_EQ(r.code(), 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string first = read_file(dir + "/b.pdf");
    ASSERT_EQ(run_orvalis(report_args(src, "b.pdf"), {}, dir).code(), 0);
    EXPECT_TRUE(first == read_file(dir + "/b.pdf")) << "a second run gave other bytes";
    unsetenv("SOURCE_DATE_EPOCH");

    const auto info = run_program("/usr/bin/pdfinfo", {"pdfinfo", dir + "/b.pdf"});
    EXPECT_NE(info.out.find("595.276 x 841.89 pts (A4)"), std::string::npos) << info.out;
    const auto pages = info.out.find("Pages:");
    ASSERT_NE(pages, std::string::npos);
    const int count = std::stoi(info.out.substr(pages + 6));
    EXPECT_GE(count, 7); // 300 rows continue over several pages
    const std::string text =
        run_program("/usr/bin/pdftotext", {"pdftotext", dir + "/b.pdf", "-"}).out;
    // The table's heading repeats on every page it continues on.
    std::size_t heads = 0;
    for (auto k = text.find("Zustand"); k != std::string::npos; k = text.find("Zustand", k + 1))
        ++heads;
    EXPECT_GE(heads, 5u);
    for (const char* s : {"Gefährdete Objekte: ja", "Stufe ≥ 1", "2023-11-14", "Weiher Test",
                          "EPSG:2056", "60000 m³", "0.1 m", "objekte.geojson"})
        EXPECT_NE(text.find(s), std::string::npos) << s;
    for (int k = 0; k < 300; ++k) {
        double e, n;
        world(30 + (k % 30) * 10, -60 + (k / 30) * 10, e, n);
        if (level_at(e, n) >= 1) {
            EXPECT_NE(text.find("Objekt " + std::to_string(k) + "\n"), std::string::npos) << k;
        }
    }
    const auto sum = run_program("/usr/bin/sha256sum", {"sha256sum", dir + "/" + src});
    EXPECT_NE(text.find(sum.out.substr(0, 64)), std::string::npos);
}

TEST(Report, HtmlIsOneFileWithItsPictures) {
    const std::string dir = scratch_dir();
    const std::string src = many_objects(dir, 3);
    std::vector<std::string> a = report_args(src, "b.out");
    a.push_back("--format");
    a.push_back("html");
    const auto r = run_orvalis(a, {}, dir);
    ASSERT_EQ(r.code(), 0) << r.err;
    const std::string h = read_file(dir + "/b.out");
    EXPECT_EQ(h.rfind("<!DOCTYPE html>", 0), 0u);
    std::size_t svgs = 0;
    for (auto k = h.find("<svg"); k != std::string::npos; k = h.find("<svg", k + 1)) ++svgs;
    EXPECT_EQ(svgs, 2u);
    EXPECT_EQ(h.find("src=\"http"), std::string::npos);
    EXPECT_NE(h.find("Gefährdete Objekte: ja"), std::string::npos);
    EXPECT_NE(h.find("Objekt 2"), std::string::npos);
    // Each endangered point object's worst point is the point itself, to the metre.
    int endangered = 0;
    for (int k = 0; k < 3; ++k) {
        double e, n;
        world(30 + k * 10, -60, e, n);
        if (level_at(e, n) < 1) continue;
        ++endangered;
        const std::string row = "<td>" + orv::grouped(e, 0) + "</td><td>" + orv::grouped(n, 0);
        EXPECT_NE(h.find(row), std::string::npos) << k << ": " << row;
    }
    EXPECT_GT(endangered, 0);
}

// The tables in words: the parameter's name, how much of an object has a
// result, which objects leave the verdict open and where the tables begin,
// h and q with three digits, coordinates to the metre.
TEST(Report, TablesInWords) {
    const std::string dir = scratch_dir();
    double e0, n0, e1, n1, e2, n2, e3, n3;
    world(0.5, 0, e0, n0);
    world(60, 0, e1, n1);
    world(0.2, 0, e2, n2);
    world(40, 0, e3, n3);
    char line[200];
    std::snprintf(line, sizeof line, "{\"type\":\"LineString\",\"coordinates\":[[%.3f,%.3f],[%.3f,%.3f]]}",
                  e0, n0, e1, n1);
    write_layer(dir + "/objekte.geojson", {{line, "Damm"}, {point_json(e2, n2), "Nahe"},
                                           {point_json(e3, n3), "Weit"}});
    std::vector<std::string> a = report_args("objekte.geojson", "b.html");
    const auto r = run_orvalis(a, {}, dir);
    ASSERT_EQ(r.code(), 0) << r.err;
    const std::string h = read_file(dir + "/b.html");
    // The worst point of "Weit" is the point itself: its h and q as the table shows them.
    const orv::map::jet_point j = orv::map::to_jet(g, e3, n3);
    orv::params p;
    p.h = 8, p.b = 20, p.vol = 60000, p.slp = 6, p.dm = 0.1f;
    const orv::point_result w = orv::evaluate(orv::make_site(p), static_cast<orv::real>(j.x),
                                              static_cast<orv::real>(std::fabs(j.y)));
    const orv::levels lv;
    const std::span<const orv::real> t(lv.t);
    const struct {
        std::string text;
        bool present;
    } rows[] = {
        {"<th>Korndurchmesser D</th>", true},
        {"<th>D</th>", false},
        {"<td>2'600'000, 1'200'000</td>", true},
        {"<td>teilweise</td>", true},
        {"<td>ganz</td>", true},
        {"<td>part</td>", false},
        {"<td>full</td>", false},
        {"<th>offen</th>", true},
        {"<td>ja</td><td>nahe der Bresche bis x = ", true},
        {"Status 1), am Rand der Tabellen Stufe ", true},
        {"<td>" + orv::three_digits(w.res.h, t) + "</td><td>" + orv::three_digits(w.res.q, t) +
             "</td><td>" + orv::three_digits(w.res.v) + "</td>",
         true},
        {"1 Objekt offen, 3 Objekte beurteilt", true},
    };
    for (const auto& c : rows)
        EXPECT_EQ(h.find(c.text) != std::string::npos, c.present) << c.text;
}

// The object options are read as assess reads them; a bad value writes nothing.
TEST(Report, BadObjectOptionValuesWriteNothing) {
    const std::string dir = scratch_dir();
    const std::string src = many_objects(dir, 1);
    const struct {
        const char* opt;
        const char* value;
        const char* says;
    } cases[] = {
        {"--coords", "E,N,Z",
         "Option --coords: zwei verschiedene Spaltennamen E,N erwartet: E,N,Z"},
        {"--from", "4", "Option --from"},
        {"--spacing", "0", "Option --spacing"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> a = report_args(src, "b.pdf");
        a.push_back(c.opt);
        a.push_back(c.value);
        const auto r = run_orvalis(a, {}, dir);
        EXPECT_EQ(r.code(), 1) << c.opt << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(dir + "/b.pdf")) << c.opt;
    }
}

} // namespace

namespace {

std::string line_json(const std::vector<std::pair<double, double>>& jet) {
    std::string s = "{\"type\":\"LineString\",\"coordinates\":[";
    for (std::size_t k = 0; k < jet.size(); ++k) {
        double e, n;
        world(jet[k].first, jet[k].second, e, n);
        char b[80];
        std::snprintf(b, sizeof b, "%s[%.3f,%.3f]", k ? "," : "", e, n);
        s += b;
    }
    return s + "]}";
}

// A road of 1 km across the jet at x = 60 from its centre out of the zones.
TEST(WorldMap, RoadIsColouredStretchByStretch) {
    const std::string dir = scratch_dir();
    write_layer(dir + "/r.geojson", {{line_json({{60, 0}, {60, 1000}}), "Strasse"}});
    std::vector<std::string> a = site("map");
    for (const char* s : {"--objects", "r.geojson", "-o", "k.png", "--width", "1000", "--height",
                          "800", "--extent"})
        a.push_back(s);
    // The map shows the road's first 300 m, where the zones end.
    double e0, n0, e1, n1;
    world(60, 0, e0, n0);
    world(60, 300, e1, n1);
    const orv::map::world_box want =
        box_of(std::min(e0, e1) - 40, std::min(n0, n1) - 40, std::max(e0, e1) + 40,
               std::max(n0, n1) + 40);
    a.push_back(extent_text(want));
    const auto r = run_orvalis(a, {}, dir);
    ASSERT_EQ(r.code(), 0) << r.err;
    const orv::draw::world_frame f = orv::draw::place_world(1000, 800, want);
    cairo_surface_t* s = cairo_image_surface_create_from_png((dir + "/k.png").c_str());
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    // On the road amid each level's stretch (found along it by the model)
    // the road has that level's colour; far out, none of the levels'.
    int found = 0;
    for (int lv = 1; lv <= 3; ++lv) {
        double lo = -1, hi = -1;
        for (double y = 0; y <= 1000; y += 1) {
            double e, n;
            world(60, y, e, n);
            if (level_at(e, n) == lv) hi = y, lo = lo < 0 ? y : lo;
        }
        if (hi - lo < 6) continue; // too short a stretch to hit at this scale
        ++found;
        double e, n;
        world(60, (lo + hi) / 2, e, n);
        EXPECT_EQ(pixel_at(s, f.X(e), f.Y(n)), rgb_of(lv)) << "level " << lv;
    }
    EXPECT_GE(found, 2);
    double e, n;
    world(60, 280, e, n);
    ASSERT_EQ(level_at(e, n), 0);
    const uint32_t far = pixel_at(s, f.X(e), f.Y(n));
    for (int lv = 1; lv <= 3; ++lv) EXPECT_NE(far, rgb_of(lv)) << "far out at level " << lv;
    EXPECT_NE(far, 0xffffffu) << "the road is drawn far out too";
    cairo_surface_destroy(s);
}

// A report over a long road builds, twice the same bytes.
TEST(Report, RoadReportIsReproducible) {
    const std::string dir = scratch_dir();
    write_layer(dir + "/r.geojson", {{line_json({{60, 0}, {60, 1000}}), "Strasse"},
                                     {line_json({{-400, 0}, {-100, 50}}), "Oben"}});
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    for (const char* format : {"pdf", "html"}) {
        std::vector<std::string> a = report_args("r.geojson", "b.out");
        a.push_back("--format");
        a.push_back(format);
        ASSERT_EQ(run_orvalis(a, {}, dir).code(), 0) << format;
        const std::string first = read_file(dir + "/b.out");
        ASSERT_EQ(run_orvalis(a, {}, dir).code(), 0) << format;
        EXPECT_TRUE(first == read_file(dir + "/b.out")) << format << ": other bytes";
    }
    unsetenv("SOURCE_DATE_EPOCH");
}

} // namespace
