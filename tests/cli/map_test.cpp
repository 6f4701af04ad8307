// orvalis map end to end: rasters read back through GDAL and compared with
// the pointwise model bit for bit, pictures in all formats, the summary,
// bad options and unwritable outputs.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_srs_api.h>

#include "model/level.h"
#include "model/point.h"
#include "support/command.h"
#include "support/random_params.h"

namespace {

using orv::test::bits;
using orv::test::read_file;
using orv::test::run_orvalis;

// A raster as read back through GDAL.
struct raster_read {
    int nx = 0, ny = 0;
    double gt[6] = {};
    std::string names[6];
    bool nodata_nan[6] = {};
    std::string epsg;
    std::vector<float> band[6];
};

raster_read read_raster(const std::string& path) {
    GDALAllRegister();
    raster_read r;
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!ds) return r;
    r.nx = GDALGetRasterXSize(ds);
    r.ny = GDALGetRasterYSize(ds);
    GDALGetGeoTransform(ds, r.gt);
    if (GDALGetRasterCount(ds) == 6) {
        for (int b = 0; b < 6; ++b) {
            GDALRasterBandH h = GDALGetRasterBand(ds, b + 1);
            r.names[b] = GDALGetDescription(h);
            int has = 0;
            r.nodata_nan[b] = std::isnan(GDALGetRasterNoDataValue(h, &has)) && has;
            r.band[b].resize(static_cast<std::size_t>(r.nx) * r.ny);
            EXPECT_EQ(GDALRasterIO(h, GF_Read, 0, 0, r.nx, r.ny, r.band[b].data(), r.nx, r.ny,
                                   GDT_Float32, 0, 0),
                      CE_None);
        }
    }
    const char* wkt = GDALGetProjectionRef(ds);
    if (wkt && *wkt) {
        OGRSpatialReferenceH s = OSRNewSpatialReference(wkt);
        OSRAutoIdentifyEPSG(s);
        const char* code = OSRGetAuthorityCode(s, nullptr);
        r.epsg = code ? code : "";
        OSRDestroySpatialReference(s);
    }
    GDALClose(ds);
    return r;
}

// The names in directory d, sorted.
std::vector<std::string> names(const std::string& d) {
    std::vector<std::string> n;
    for (const auto& e : std::filesystem::directory_iterator(d)) n.push_back(e.path().filename());
    std::sort(n.begin(), n.end());
    return n;
}

// Cell k of r holds the model's outcome at (x, |y|) with its level, or
// (outside) NaN in every band.
void expect_cell(const raster_read& r, std::size_t k, const orv::site& s, const orv::levels& lv,
                 float x, float y, bool inside = true) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    if (!inside) {
        for (int b = 0; b < 6; ++b) ASSERT_TRUE(std::isnan(r.band[b][k])) << "band " << b;
        return;
    }
    const orv::point_result p = orv::evaluate(s, x, y);
    ASSERT_EQ(bits(r.band[0][k]), bits(p.res.q));
    ASSERT_EQ(bits(r.band[1][k]), bits(p.res.v));
    ASSERT_EQ(bits(r.band[2][k]), bits(p.res.h));
    ASSERT_EQ(bits(r.band[3][k]), bits(p.res.he));
    ASSERT_EQ(r.band[4][k], static_cast<float>(p.st));
    const int level = orv::danger_level(p.st, p.res, lv);
    ASSERT_EQ(bits(r.band[5][k]), bits(level < 0 ? nan : static_cast<float>(level)));
}

// Bands, names and no-data values of every raster.
void expect_bands(const raster_read& r) {
    const char* want[6] = {"q", "v", "h", "he", "status", "level"};
    for (int b = 0; b < 6; ++b) {
        EXPECT_EQ(r.names[b], want[b]);
        EXPECT_TRUE(r.nodata_nan[b]) << want[b];
    }
}

// A grid in the jet's frame: geotransform (MINx, SIZE, 0, MINy + ny SIZE,
// 0, -SIZE), row 0 at the top, every cell the model's at its centre.
struct jet_case {
    std::vector<std::string> site;
    double x0, x1, y0, y1, cell;
    std::vector<int> statuses; // that must occur
};

TEST(MapRaster, JetFrameGridsEqualPointwise) {
    const std::vector<jet_case> cases = {
        // A plain grid; the last cells reach beyond MAX.
        {{"-H", "6", "-B", "12", "--vol", "20000", "-S", "2", "-D", "0.1"},
         10,
         110,
         -20,
         30,
         1.5,
         {0}},
        // Above the breach, near it, the results and beyond the tables.
        {{}, -10, 250, -40, 40, 2.5, {5, 1, 0, 2}},
        // Levels of its own, a steep slope and a y range off the axis.
        {{"-S", "12", "--levels", "0.2,0.4,3", "-D", "0.02"}, 3, 64.5, 7.25, 50, 0.75, {1, 0}},
    };
    for (const jet_case& c : cases) {
        SCOPED_TRACE(c.x0);
        const std::string d = orv::test::scratch_dir();
        std::vector<std::string> args = {"map",
                                         "--raster",
                                         d + "/k.tif",
                                         "--x",
                                         std::to_string(c.x0) + ":" + std::to_string(c.x1),
                                         "--y",
                                         std::to_string(c.y0) + ":" + std::to_string(c.y1),
                                         "--cell",
                                         std::to_string(c.cell)};
        args.insert(args.end(), c.site.begin(), c.site.end());
        const auto run = run_orvalis(args);
        ASSERT_EQ(run.code(), 0) << run.err;
        orv::params p;
        orv::levels lv;
        for (std::size_t k = 0; k + 1 < c.site.size(); k += 2) {
            const std::string& o = c.site[k];
            const float v = std::stof(c.site[k + 1]);
            if (o == "-H") p.h = v;
            if (o == "-B") p.b = v;
            if (o == "--vol") p.vol = v;
            if (o == "-S") p.slp = v;
            if (o == "-D") p.dm = v;
            if (o == "--levels") lv = {0.2f, 0.4f, 3};
        }
        const orv::site s = orv::make_site(p);
        const raster_read r = read_raster(d + "/k.tif");
        expect_bands(r);
        const auto nx = static_cast<int>(std::ceil((c.x1 - c.x0) / c.cell - 1e-9));
        const auto ny = static_cast<int>(std::ceil((c.y1 - c.y0) / c.cell - 1e-9));
        ASSERT_EQ(r.nx, nx);
        ASSERT_EQ(r.ny, ny);
        const double gt[6] = {c.x0, c.cell, 0, c.y0 + ny * c.cell, 0, -c.cell};
        for (int k = 0; k < 6; ++k) EXPECT_EQ(r.gt[k], gt[k]);
        EXPECT_EQ(r.epsg, "");
        std::vector<int> seen(6);
        for (int row = 0; row < ny; ++row) {
            const int j = ny - 1 - row;
            const auto y = static_cast<float>(c.y0 + (j + 0.5) * c.cell);
            for (int i = 0; i < nx; ++i) {
                const auto x = static_cast<float>(c.x0 + (i + 0.5) * c.cell);
                const std::size_t k = static_cast<std::size_t>(row) * nx + i;
                SCOPED_TRACE(testing::Message() << "cell " << i << "," << j);
                expect_cell(r, k, s, lv, x, y);
                ++seen[static_cast<int>(r.band[4][k])];
            }
        }
        for (int st : c.statuses) EXPECT_GT(seen[st], 0) << "status " << st;
    }
}

// A georeferenced raster with an azimuth that is no multiple of 90 degrees
// and an asymmetric y range: north-up, covering the rotated extent, its
// edges on whole multiples of the cell size; each cell centre, the lattice
// point ((k + 0.5) s, (m + 0.5) s), turned into the jet frame in double
// and tested there. The x range reaches above the breach: cells there are
// status 5, not no-data.
TEST(MapRaster, GeoreferencedGridEqualsPointwise) {
    const std::string d = orv::test::scratch_dir();
    const double e0 = 512345.5, n0 = 5432100.25, az = 37.5, cell = 2;
    const double xr[2] = {-5, 90}, yr[2] = {-15, 60};
    const auto run = run_orvalis({"map", "--raster", d + "/w.tif", "--x", "-5:90", "--y", "-15:60",
                                  "--cell", "2", "--origin", "512345.5,5432100.25", "--azimuth",
                                  "37.5", "--crs", "EPSG:25832", "-S", "3"});
    ASSERT_EQ(run.code(), 0) << run.err;
    const raster_read r = read_raster(d + "/w.tif");
    expect_bands(r);
    EXPECT_EQ(r.epsg, "25832");
    // The corners of the map in world coordinates, by the forward formula.
    const double a = az * (std::numbers::pi / 180);
    double emin = INFINITY, emax = -INFINITY, nmin = INFINITY, nmax = -INFINITY;
    for (double x : xr) {
        for (double y : yr) {
            const double e = e0 + x * std::sin(a) - y * std::cos(a);
            const double n = n0 + x * std::cos(a) + y * std::sin(a);
            emin = std::min(emin, e), emax = std::max(emax, e);
            nmin = std::min(nmin, n), nmax = std::max(nmax, n);
        }
    }
    const double k0 = std::floor(emin / cell), m0 = std::ceil(nmax / cell);
    EXPECT_EQ(r.gt[0], k0 * cell);
    EXPECT_EQ(r.gt[3], m0 * cell);
    EXPECT_EQ(r.gt[1], cell);
    EXPECT_EQ(r.gt[5], -cell);
    EXPECT_EQ(r.gt[2], 0);
    EXPECT_EQ(r.gt[4], 0);
    ASSERT_EQ(r.nx, static_cast<int>(std::ceil(emax / cell) - k0));
    ASSERT_EQ(r.ny, static_cast<int>(m0 - std::floor(nmin / cell)));
    orv::params p;
    p.slp = 3;
    const orv::site s = orv::make_site(p);
    int in = 0, out = 0, levelled = 0, upstream = 0;
    for (int j = 0; j < r.ny; ++j) {
        for (int i = 0; i < r.nx; ++i) {
            const double e = (k0 + i + 0.5) * cell;
            const double n = (m0 - 1 - j + 0.5) * cell;
            const double de = e - e0, dn = n - n0;
            const double x = de * std::sin(a) + dn * std::cos(a);
            const double y = dn * std::sin(a) - de * std::cos(a);
            const bool inside = xr[0] <= x && x <= xr[1] && yr[0] <= y && y <= yr[1];
            const std::size_t k = static_cast<std::size_t>(j) * r.nx + i;
            SCOPED_TRACE(testing::Message() << "cell " << i << "," << j);
            expect_cell(r, k, s, {}, static_cast<float>(x), static_cast<float>(std::fabs(y)),
                        inside);
            (inside ? in : out)++;
            levelled += inside && r.band[5][k] >= 1;
            upstream += inside && r.band[4][k] == 5;
        }
    }
    EXPECT_GT(in, 1000);
    EXPECT_GT(out, 1000);
    EXPECT_GT(levelled, 100);
    EXPECT_GT(upstream, 10);
}

// The summary's figures against an independent count over the cells of a
// coarse grid of a real site.
TEST(MapSummary, FiguresMatchCellsOfRealSite) {
    const auto run = run_orvalis({"map", "--x", "0:120", "--y", "-60:60", "--cell", "5", "--json"});
    ASSERT_EQ(run.code(), 0) << run.err;
    const orv::site s = orv::make_site(orv::params{});
    const int n = 24;
    int cells[3] = {}, imax[3] = {};
    double ymax[3] = {};
    bool ropen[3] = {}, wopen[3] = {}, aopen[3] = {};
    std::vector<int> col(n);
    for (int i = 0; i < n; ++i) col[i] = orv::evaluate(s, static_cast<float>(2.5 + 5 * i), 0).st;
    for (int j = 0; j < n; ++j) {
        const double y = -60 + 5 * (j + 0.5);
        for (int i = 0; i < n; ++i) {
            const auto pr =
                orv::evaluate(s, static_cast<float>(2.5 + 5 * i), static_cast<float>(y));
            const int lv = orv::danger_level(pr.st, pr.res);
            for (int k = 0; k < lv; ++k) {
                ++cells[k];
                imax[k] = std::max(imax[k], i);
                ymax[k] = std::max(ymax[k], std::fabs(y));
                const bool right = i == n - 1 || (col[i + 1] >= 1 && col[i + 1] <= 4);
                const bool left = i == 0 || (col[i - 1] >= 1 && col[i - 1] <= 4);
                ropen[k] = ropen[k] || right;
                wopen[k] = wopen[k] || j == 0 || j == n - 1;
                aopen[k] = aopen[k] || right || left || j == 0 || j == n - 1;
            }
        }
    }
    auto tf = [](bool b) { return b ? "true" : "false"; };
    for (int k = 0; k < 3; ++k) {
        ASSERT_GT(cells[k], 0);
        char want[400];
        std::snprintf(want, sizeof want,
                      "{\"level\": %d, \"cells\": %d, \"reach\": %.1f, \"reach_at_least\": %s, "
                      "\"half_width\": %.1f, \"half_width_at_least\": %s, \"area\": %d, "
                      "\"area_at_least\": %s}",
                      k + 1, cells[k], 2.5 + 5 * imax[k] + 2.5, tf(ropen[k]), ymax[k] + 2.5,
                      tf(wopen[k]), cells[k] * 25, tf(aopen[k]));
        EXPECT_NE(run.out.find(want), std::string::npos) << want << "\n" << run.out;
    }
    int near = 0;
    while (col[near] == 1) ++near;
    char nz[80];
    std::snprintf(nz, sizeof nz, "\"near_zone\": {\"x_end\": %.1f}", 5.0 * near);
    EXPECT_NE(run.out.find(nz), std::string::npos) << run.out;
}

// PNG header, SVG width and height, PDF MediaBox: the requested size.
TEST(MapPicture, SizesInAllFormats) {
    const std::string d = orv::test::scratch_dir();
    struct row {
        std::vector<std::string> args;
        std::string file;
        int w, h;
    };
    const std::vector<row> rows = {
        {{"map", "-o", d + "/a.png"}, "a.png", 1200, 800},
        {{"map", "-o", d + "/b.png", "--width", "640", "--height", "480", "--show", "v"},
         "b.png",
         640,
         480},
        {{"map", "-o", d + "/c.svg"}, "c.svg", 842, 595},
        {{"map", "-o", d + "/d.SVG", "--width", "300", "--height", "900", "--show", "he"},
         "d.SVG",
         300,
         900},
        {{"map", "-o", d + "/e.pdf"}, "e.pdf", 842, 595},
        {{"map", "-o", d + "/f.pdf", "--width", "500", "--height", "350", "--show", "q"},
         "f.pdf",
         500,
         350},
        {{"profile", "-o", d + "/g.png", "--width", "900", "--height", "700"}, "g.png", 900, 700},
        {{"profile", "-o", d + "/h.svg", "-y", "20"}, "h.svg", 842, 595},
        {{"profile", "-o", d + "/i.pdf", "--width", "400", "--height", "1000"}, "i.pdf", 400, 1000},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.file);
        const auto run = run_orvalis(r.args);
        ASSERT_EQ(run.code(), 0) << run.err;
        const std::string f = read_file(d + "/" + r.file);
        const std::string ext = r.file.substr(r.file.size() - 3);
        if (ext == "png") {
            ASSERT_GT(f.size(), 24u);
            EXPECT_EQ(f.substr(0, 8), "\x89PNG\r\n\x1a\n");
            auto be = [&](std::size_t at) {
                return (static_cast<unsigned char>(f[at]) << 24) |
                       (static_cast<unsigned char>(f[at + 1]) << 16) |
                       (static_cast<unsigned char>(f[at + 2]) << 8) |
                       static_cast<unsigned char>(f[at + 3]);
            };
            EXPECT_EQ(be(16), r.w);
            EXPECT_EQ(be(20), r.h);
        } else if (ext == "svg" || ext == "SVG") {
            const std::string want =
                "width=\"" + std::to_string(r.w) + "pt\" height=\"" + std::to_string(r.h) + "pt\"";
            EXPECT_NE(f.find(want), std::string::npos);
        } else {
            EXPECT_EQ(f.substr(0, 5), "%PDF-");
            const std::string want =
                "/MediaBox [ 0 0 " + std::to_string(r.w) + " " + std::to_string(r.h) + " ]";
            EXPECT_NE(f.find(want), std::string::npos);
        }
    }
}

// A fine grid still gives small vector files: one embedded image, at most
// 1024 pixels a side, and the annotations.
TEST(MapPicture, VectorFilesStaySmall) {
    const std::string d = orv::test::scratch_dir();
    for (const std::string f : {"k.svg", "k.pdf"}) {
        const auto run = run_orvalis({"map", "--x", "0:125", "--y", "-100:100", "--cell", "0.08",
                                      "-o", d + "/" + f, "--show", "h"});
        ASSERT_EQ(run.code(), 0) << run.err;
        const std::string s = read_file(d + "/" + f);
        EXPECT_LT(s.size(), 1500000u) << f;
        if (f == "k.svg") {
            std::size_t images = 0;
            for (auto p = s.find("<image"); p != std::string::npos; p = s.find("<image", p + 1))
                ++images;
            EXPECT_EQ(images, 1u);
        }
    }
}

struct cli_case {
    std::vector<std::string> args;
    std::string err;
    int code;
};

// Malformed command lines exit 2, bad values 1; each with one message and
// no output at all.
TEST(MapOptions, BadOptions) {
    const std::string d = orv::test::scratch_dir();
    const std::string m = "orvalis map: ";
    const std::vector<cli_case> cases = {
        {{"-o", d + "/k.jpg"},
         m + "Option -o: Endung .png, .svg oder .pdf erwartet: " + d + "/k.jpg\n",
         2},
        {{"-o", d + "/k.png", "--show", "x"},
         m + "Option --show: q, v, h oder he erwartet: x\n",
         2},
        {{"--show", "q"}, "orvalis: --show braucht -o\n", 2},
        {{"--width", "500"}, "orvalis: --width braucht -o\n", 2},
        {{"--raster", d + "/r.png"},
         m +
             "Option --raster: das Format PNG (Endung .png) kann keine sechs Float32-Baender "
             "speichern: " +
             d + "/r.png\n",
         2},
        {{"--raster", d + "/r.xyz"},
         m +
             "Option --raster: das Format XYZ (Endung .xyz) kann keine sechs Float32-Baender "
             "speichern: " +
             d + "/r.xyz\n",
         2},
        {{"--raster", d + "/r.qqq"},
         m + "Option --raster: kein Rasterformat zum Schreiben fuer die Endung .qqq: " + d +
             "/r.qqq\n",
         2},
        {{"--raster", d + "/r.tif", "--origin", "1,2"},
         "orvalis: --origin braucht --azimuth und --crs\n",
         2},
        {{"--zones", d + "/z.qqq"},
         m + "Option --zones: kein Vektorformat zum Schreiben fuer die Endung .qqq: " + d +
             "/z.qqq\n",
         2},
        {{"--origin", "1,2", "--azimuth", "3", "--crs", "EPSG:25832", "--extent", "zones"},
         m + "--frame, --extent, --background und --opacity brauchen -o\n",
         2},
        {{"--zones", d + "/z.csv"},
         m + "Option --zones: das Format CSV (Endung .csv) kann keine Polygone speichern: " + d +
             "/z.csv\n",
         2},
        {{"--raster", d + "/r.tif", "--level-raster",
          d + "/../" + d.substr(d.rfind('/') + 1) + "/r.tif"},
         m + "--level-raster " + d + "/../" + d.substr(d.rfind('/') + 1) +
             "/r.tif: dasselbe Ziel wie --raster " + d + "/r.tif\n",
         2},
        {{"--level-raster", d + "/l.jpg"},
         m +
             "Option --level-raster: das Format JPEG (Endung .jpg) kann die zwei Byte-Baender "
             "Stufe und Grund nicht speichern: " +
             d + "/l.jpg\n",
         2},
        // PNG takes a second band for transparency, Arc/Info ASCII holds one band.
        {{"--level-raster", d + "/l.png"},
         m +
             "Option --level-raster: das Format PNG (Endung .png) gibt die Baender Stufe und "
             "Grund nicht unveraendert zurueck: " +
             d + "/l.png\n",
         2},
        {{"--level-raster", d + "/l.asc"},
         m +
             "Option --level-raster: das Format AAIGrid (Endung .asc) kann die zwei Byte-Baender "
             "Stufe und Grund nicht speichern: " +
             d + "/l.asc\n",
         2},
        // Both styles would be l.qml; a GeoPackage keeps the zones' inside.
        {{"--level-raster", d + "/l.tif", "--zones", d + "/l.shp"},
         m + "--level-raster " + d + "/l.tif und --zones " + d +
             "/l.shp: beide legen ihren Stil in " + d + "/l.qml; andere Namen waehlen\n",
         2},
        {{"--level-raster", d + "/l.qqq"},
         m + "Option --level-raster: kein Rasterformat zum Schreiben fuer die Endung .qqq: " + d +
             "/l.qqq\n",
         2},
        {{"--x"}, "orvalis: Option --x: Wert fehlt\n", 2},
        {{"--x", "--json"}, "orvalis: Option --x: Wert fehlt\n", 2},
        {{"--cell", "5", "--cell", "6"}, "orvalis: Option --cell: nur einmal erlaubt\n", 2},
        {{"--digits", "2"}, "orvalis: unbekannte Option --digits\n", 2},
        {{"--raster", d + "/r.tif", "--origin", "", "--azimuth", "3", "--crs", "EPSG:25832"},
         "orvalis: Option --origin: leerer Wert\n",
         1},
        {{"--raster", d + "/r.tif", "--origin", "1,2", "--azimuth", "3", "--crs", "EPSG:4326"},
         m + "Option --crs: Koordinatensystem WGS 84 (EPSG:4326) hat die Einheit degree, "
             "verlangt ist Meter: EPSG:4326\n",
         1},
        {{"--raster", d + "/r.tif", "--origin", "1e300,0", "--azimuth", "3", "--crs", "EPSG:25832"},
         m + "Option --origin: Punkt 1e+300, 0 liegt ausserhalb des Gebiets von EPSG:25832 "
             "(Gebiet Europe between 6 Grad E and 12 Grad E: Austria; Belgium; Denmark - onshore "
             "and offshore; Germany - onshore and offshore; Norway including - onshore and "
             "offshore; Spain - offshore: Laenge 6.00 bis 12.01, Breite 38.76 bis 84.33 Grad), "
             "nicht in Grad umrechenbar; --origin und --crs pruefen\n",
         1},
        {{"--x", "0:1.7e308", "--y", "0:1e307", "--cell", "1e308", "--json"},
         m + "--json: Wert von x_max nicht endlich, in JSON nicht darstellbar\n",
         1},
        // The zones are a vector output: a write GDAL fails says so.
        {{"--zones", d + "/z.dxf", "--origin", "2600000,1200000", "--azimuth", "90", "--crs",
          "EPSG:2056"},
         m + "--zones " + d + "/z.dxf: nicht schreibbar: Fehler im Vektorformat\n",
         1},
        {{"--x", "5"}, m + "Option --x: MIN:MAX erwartet: 5\n", 1},
        {{"--x", "5:1"}, m + "Option --x: MIN muss kleiner als MAX sein: 5:1\n", 1},
        {{"--y", "a:1"}, m + "Option --y: MIN:MAX erwartet, keine Zahl: a:1\n", 1},
        {{"--y", "-1:inf"},
         m + "Option --y: MIN:MAX erwartet, Wert muss endlich sein: -1:inf\n",
         1},
        {{"--cell", "0"}, m + "Option --cell: Wert muss groesser als 0 sein: 0\n", 1},
        {{"--cell", "1,5"}, m + "Option --cell: Dezimalpunkt verwenden: 1.5 statt 1,5\n", 1},
        {{"-H", "abc"}, m + "Option -H: keine Zahl: abc\n", 1},
        {{"--levels", "1,1,1"},
         m + "Option --levels: drei aufsteigende positive Zahlen erwartet (z. B. 0.5,1,2): 1,1,1\n",
         1},
        {{"-o", d + "/k.png", "--width", "50"},
         m + "Option --width: ganze Zahl von 200 bis 10000 erwartet: 50\n",
         1},
        {{"--threads", "-1"}, m + "Option --threads: ganze Zahl von 0 bis 256 erwartet: -1\n", 1},
        {{"--raster", d + "/r.tif", "--origin", "1;2", "--azimuth", "3", "--crs", "EPSG:25832"},
         m + "Option --origin: zwei Zahlen E,N erwartet: 1;2\n",
         1},
        {{"--raster", d + "/r.tif", "--origin", "1,2", "--azimuth", "nan", "--crs", "EPSG:25832"},
         m + "Option --azimuth: Wert muss endlich sein: nan\n",
         1},
        {{"--raster", d + "/r.tif", "--origin", "1,2", "--azimuth", "3", "--crs", "25832"},
         m + "Option --crs: EPSG:NNNN, WKT, PROJ-Zeichenkette oder Datei erwartet: 25832\n",
         1},
        {{"--raster", d + "/r.tif", "--origin", "1,2", "--azimuth", "3", "--crs", "EPSG:999999"},
         m + "Option --crs: unbekanntes Koordinatensystem: EPSG:999999\n",
         1},
        {{"-S", "20"},
         m + "Gefaelle zu gross: S = 20 % (korrigierter Wert: S = 16 %; mit --correct wird damit "
             "gerechnet)\n",
         1},
        {{"-S", "0.1"},
         m + "Gefaelle zu klein: S = 0.1 % (korrigierter Wert: S = 0.25 %; mit --correct wird "
             "damit gerechnet)\n",
         1},
        {{"--cell", "0.001"},
         m + "zu viele Zellen bei Zellgroesse 0.001 m (hoechstens 100000 je Achse und 100000000 "
             "insgesamt); --cell groesser waehlen\n",
         1},
        {{"-H", "1e30"},
         m + "Ausdehnung nicht aus dem Standort bestimmbar; --x, --y und --cell angeben\n",
         1},
    };
    for (const cli_case& c : cases) {
        std::vector<std::string> args = {"map"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(args[1]);
        const auto r = run_orvalis(args);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.code(), c.code);
        EXPECT_TRUE(names(d).empty());
    }
}

// A slope outside the tables with --correct: computed with the corrected
// value, said on standard error and in the summary and title.
TEST(MapOptions, CorrectedSlope) {
    const auto r = run_orvalis({"map", "-S", "20", "--correct", "--cell", "2"});
    EXPECT_EQ(r.code(), 0);
    EXPECT_EQ(r.err, "orvalis map: Gefaelle zu gross, korrigierter Wert: S = 16 %\n");
    EXPECT_EQ(r.out.rfind("Gefahrenkarte fuer H = 5 m, B = 10 m, Vol = 4000 m3, S = 16 % "
                          "(korrigiert von 20 %), D = 0.15 m\n",
                          0),
              0u);
}

// Outputs that cannot be written: a message, status 1, no file left behind
// and an existing target untouched.
TEST(MapOptions, UnwritableOutputs) {
    const std::string d = orv::test::scratch_dir();
    orv::test::write_file(d + "/datei", "x");
    orv::test::write_file(d + "/alt.png", "alt");
    std::filesystem::create_directory(d + "/ordner.png");
    const std::string m = "orvalis map: ";
    const std::vector<cli_case> cases = {
        {{"-o", d + "/fehlt/k.png"},
         m + "-o " + d + "/fehlt/k.png: nicht schreibbar: Verzeichnis " + d +
             "/fehlt nicht vorhanden\n",
         1},
        {{"--raster", d + "/datei/k.tif"},
         m + "--raster " + d +
             "/datei/k.tif: nicht schreibbar: ein Teil des Pfades ist kein Verzeichnis\n",
         1},
        {{"-o", d + "/alt.png", "--raster", d + "/fehlt/k.tif"},
         m + "--raster " + d + "/fehlt/k.tif: nicht schreibbar: Verzeichnis " + d +
             "/fehlt nicht vorhanden\n",
         1},
        {{"--level-raster", d + "/l.tif", "--zones", d + "/fehlt/z.gpkg"},
         m + "--zones " + d + "/fehlt/z.gpkg: nicht schreibbar: Verzeichnis " + d +
             "/fehlt nicht vorhanden\n",
         1},
        {{"-o", d + "/ordner.png", "--cell", "2"},
         m + "-o " + d + "/ordner.png: nicht schreibbar: ist ein Verzeichnis\n",
         1},
    };
    for (const cli_case& c : cases) {
        std::vector<std::string> args = {"map"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(args[2]);
        const auto r = run_orvalis(args);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.code(), c.code);
        EXPECT_EQ(names(d), (std::vector<std::string>{"alt.png", "datei", "ordner.png"}));
        EXPECT_EQ(read_file(d + "/alt.png"), "alt");
    }
}

// The raster of another GDAL format that holds six bands, with its
// companion file.
TEST(MapRaster, OtherDriverByExtension) {
    const std::string d = orv::test::scratch_dir();
    const auto r = run_orvalis({"map", "--raster", d + "/k.img", "--cell", "2"});
    ASSERT_EQ(r.code(), 0) << r.err;
    const raster_read k = read_raster(d + "/k.img");
    expect_bands(k);
    EXPECT_EQ(names(d).front(), "k.img");
}

// Sidecars belong to their raster: a stale one of the replaced dataset
// goes, someone else's file of a sidecar's name stops the run untouched.
TEST(MapRaster, SidecarsMoveWithTheRaster) {
    const std::string d = orv::test::scratch_dir();
    const std::vector<std::string> bil = {"map", "--raster", d + "/k.bil", "--cell", "10"};
    ASSERT_EQ(run_orvalis(bil).code(), 0);
    orv::test::write_file(d + "/k.prj", "veraltet");
    ASSERT_EQ(run_orvalis(bil).code(), 0);
    EXPECT_EQ(names(d), (std::vector<std::string>{"k.bil", "k.bil.aux.xml", "k.hdr"}));
    orv::test::write_file(d + "/n.hdr", "fremd");
    const auto r = run_orvalis({"map", "--raster", d + "/n.bil", "--cell", "10"});
    EXPECT_EQ(r.code(), 1);
    EXPECT_EQ(r.err, "orvalis map: --raster " + d + "/n.bil: " + d +
                         "/n.hdr besteht schon und gehoert nicht dazu\n");
    EXPECT_EQ(names(d), (std::vector<std::string>{"k.bil", "k.bil.aux.xml", "k.hdr", "n.hdr"}));
    EXPECT_EQ(read_file(d + "/n.hdr"), "fremd");
}

} // namespace
