// orvalis assess end to end: layers written with OGR in several formats
// and systems, each feature's worst point against the pointwise model bit
// for bit, attributes and geometry kept, the verdict, and bad input.
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <ogr_api.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include "map/extent.h"
#include "map/frame.h"
#include "model/level.h"
#include "model/point.h"
#include "support/command.h"
#include "support/random_params.h"

namespace {

using orv::test::bits;
using orv::test::run_orvalis;
using orv::test::scratch_dir;

const std::vector<std::string> site = {
    "assess",          "-H",        "8",  "-B", "20",  "--vol",
    "60000",           "-S",        "6",  "-D", "0.1", "--origin",
    "2600000,1200000", "--azimuth", "120"};
const orv::map::georef frame_g{2600000, 1200000, 120};

orv::params site_params() {
    orv::params p;
    p.h = 8, p.b = 20, p.vol = 60000, p.slp = 6, p.dm = 0.1f;
    return p;
}

// The world point at jet coordinates (x, y).
std::string world(double x, double y) {
    const double a = 120 * std::numbers::pi / 180;
    const double e = 2600000 + x * std::sin(a) - y * std::cos(a);
    const double n = 1200000 + x * std::cos(a) + y * std::sin(a);
    char b[80];
    std::snprintf(b, sizeof b, "%.3f %.3f", e, n);
    return b;
}

struct feature_in {
    std::string wkt; // empty for no geometry
    std::string name;
};

// Writes a layer with a text field "name" and a text field "orv_level"
// (to be replaced) through OGR.
void write_layer(const std::string& path, const char* driver, const char* layer, int epsg,
                 const std::vector<feature_in>& fs) {
    GDALAllRegister();
    GDALDriver* d = GetGDALDriverManager()->GetDriverByName(driver);
    GDALDataset* ds = d->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    ASSERT_NE(ds, nullptr) << path;
    OGRSpatialReference srs;
    srs.importFromEPSG(epsg);
    OGRLayer* l = ds->CreateLayer(layer, &srs, wkbUnknown, nullptr);
    OGRFieldDefn name("name", OFTString);
    OGRFieldDefn old("orv_level", OFTString);
    l->CreateField(&name);
    l->CreateField(&old);
    for (const feature_in& f : fs) {
        OGRFeature* o = OGRFeature::CreateFeature(l->GetLayerDefn());
        o->SetField("name", f.name.c_str());
        o->SetField("orv_level", "alt");
        if (!f.wkt.empty()) {
            OGRGeometry* g = nullptr;
            OGRGeometryFactory::createFromWkt(f.wkt.c_str(), &srs, &g);
            o->SetGeometryDirectly(g);
        }
        EXPECT_EQ(l->CreateFeature(o), OGRERR_NONE);
        OGRFeature::DestroyFeature(o);
    }
    GDALClose(ds);
}

// A feature as read back.
struct feature_out {
    GIntBig fid;
    std::map<std::string, std::string> f; // field -> text, "null" when null
    std::string wkt;
};

std::vector<feature_out> read_layer(const std::string& path, const char* layer) {
    std::vector<feature_out> out;
    GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR);
    if (!ds) return out;
    OGRLayer* l = layer ? ds->GetLayerByName(layer) : ds->GetLayer(0);
    if (l) {
        for (auto& f : *l) {
            feature_out o{f->GetFID(), {}, ""};
            for (int i = 0; i < f->GetFieldCount(); ++i) {
                // Reals in full: OGR's own text of a Float32 field is too short.
                char b[40];
                std::snprintf(b, sizeof b, "%.17g", f->GetFieldAsDouble(i));
                const bool real = f->GetFieldDefnRef(i)->GetType() == OFTReal;
                o.f[f->GetFieldDefnRef(i)->GetNameRef()] = !f->IsFieldSetAndNotNull(i) ? "null"
                                                           : real                      ? b
                                                                  : f->GetFieldAsString(i);
            }
            if (f->GetGeometryRef()) o.wkt = f->GetGeometryRef()->exportToWkt();
            out.push_back(o);
        }
    }
    GDALClose(ds);
    return out;
}

// The worst point of world samples by the pointwise model.
struct worst {
    int level = orv::no_level;
    orv::intensity r{};
    float x = 0, y = 0;
    std::size_t n = 0, nores = 0;
    double e = 0, north = 0; // the sample itself, in the site's system
};

worst judge(const std::vector<std::pair<double, double>>& samples) {
    const orv::site s = orv::make_site(site_params());
    worst w;
    for (const auto& [e, n] : samples) {
        const auto j = orv::map::to_jet(frame_g, e, n);
        const float x = static_cast<float>(j.x), y = static_cast<float>(j.y);
        const orv::point_result p = orv::evaluate(s, x, y);
        const int lv = orv::danger_level(p.st, p.res);
        ++w.n;
        if (lv == orv::no_level) {
            ++w.nores;
            continue;
        }
        if (lv > w.level ||
            (lv == w.level && (p.res.h > w.r.h || (p.res.h == w.r.h && p.res.q > w.r.q)))) {
            w = {lv, p.res, x, y, w.n, w.nores, e, n};
        }
    }
    return w;
}

// Samples of a ring or line by the definition: vertices and k s / L points.
void line_samples(const OGRSimpleCurve& c, bool ring, double s,
                  std::vector<std::pair<double, double>>& out) {
    const int n = c.getNumPoints();
    for (int i = 0; i < n - (ring ? 1 : 0); ++i) {
        out.push_back({c.getX(i), c.getY(i)});
        if (i + 1 == n) break;
        const double de = c.getX(i + 1) - c.getX(i), dn = c.getY(i + 1) - c.getY(i);
        const double len = std::hypot(de, dn);
        for (double k = 1; k < std::ceil(len / s); ++k)
            out.push_back({c.getX(i) + k * s / len * de, c.getY(i) + k * s / len * dn});
    }
}

// Ring samples, then the lattice centres inside (decided by OGR), north to south.
std::vector<std::pair<double, double>> polygon_samples(const OGRPolygon& p, double s) {
    std::vector<std::pair<double, double>> out;
    for (const OGRLinearRing* r : p) line_samples(*r, true, s, out);
    OGREnvelope env;
    p.getEnvelope(&env);
    for (double m = std::floor(env.MaxY / s); m >= std::floor(env.MinY / s) - 1; --m) {
        for (double k = std::floor(env.MinX / s) - 1; k <= std::floor(env.MaxX / s); ++k) {
            OGRPoint c((k + 0.5) * s, (m + 0.5) * s);
            if (p.Contains(&c)) out.push_back({c.getX(), c.getY()});
        }
    }
    return out;
}

float as_float(const std::string& t) {
    return static_cast<float>(std::stod(t));
}

// The output fields of a feature against w, bit for bit.
void expect_worst(const feature_out& o, const worst& w, const std::string& what) {
    EXPECT_EQ(o.f.at("orv_n"), std::to_string(w.n)) << what;
    EXPECT_EQ(o.f.at("orv_nores"), std::to_string(w.nores)) << what;
    ASSERT_NE(w.level, orv::no_level) << what;
    EXPECT_EQ(o.f.at("orv_level"), std::to_string(w.level)) << what;
    EXPECT_EQ(bits(as_float(o.f.at("orv_h"))), bits(w.r.h)) << what;
    EXPECT_EQ(bits(as_float(o.f.at("orv_q"))), bits(w.r.q)) << what;
    EXPECT_EQ(bits(as_float(o.f.at("orv_v"))), bits(w.r.v)) << what;
    EXPECT_EQ(bits(as_float(o.f.at("orv_he"))), bits(w.r.he)) << what;
    EXPECT_EQ(bits(as_float(o.f.at("orv_x"))), bits(w.x)) << what;
    EXPECT_EQ(bits(as_float(o.f.at("orv_y"))), bits(w.y)) << what;
    // The sample's own doubles, not recomputed from x and y.
    EXPECT_EQ(std::stod(o.f.at("orv_east")), w.e) << what;
    EXPECT_EQ(std::stod(o.f.at("orv_north")), w.north) << what;
}

orv::map::table_range tables() {
    return *orv::map::find_table_range(orv::make_site(site_params()));
}

TEST(AssessCommand, WorstPointsMatchThePointwiseModel) {
    const std::string dir = scratch_dir();
    const std::vector<feature_in> fs = {
        {"POINT (" + world(100, 5) + ")", "Punkt"},
        {"LINESTRING (" + world(50, -20) + ", " + world(150, 30) + ")", "Linie"},
        {"POLYGON ((" + world(80, -10.3) + ", " + world(112.1, -10.3) + ", " + world(112.1, 15.2) +
             ", " + world(80, 15.2) + ", " + world(80, -10.3) + "), (" + world(90.2, -2) + ", " +
             world(100.1, -2) + ", " + world(100.1, 5.3) + ", " + world(90.2, -2) + "))",
         "Haus mit Hof"},
        {"MULTIPOLYGON (((" + world(200, 40) + ", " + world(207, 40) + ", " + world(207, 47) +
             ", " + world(200, 40) + ")), ((" + world(300, -3) + ", " + world(304, -3) + ", " +
             world(304, 2) + ", " + world(300, -3) + ")))",
         "Zwei Teile"},
    };
    write_layer(dir + "/in.gpkg", "GPKG", "gebaeude", 2056, fs);
    const auto r = run_orvalis([&] {
        auto a = site;
        a.insert(a.end(), {dir + "/in.gpkg", "-o", dir + "/out.gpkg", "--label", "name"});
        return a;
    }());
    ASSERT_EQ(r.code(), 0) << r.err;
    const auto in = read_layer(dir + "/in.gpkg", "gebaeude");
    const auto out = read_layer(dir + "/out.gpkg", "gebaeude");
    ASSERT_EQ(out.size(), fs.size());
    for (std::size_t k = 0; k < fs.size(); ++k) {
        // Geometry, fid and attributes kept; the old orv_level replaced.
        EXPECT_EQ(out[k].fid, in[k].fid);
        EXPECT_EQ(out[k].wkt, in[k].wkt);
        EXPECT_EQ(out[k].f.at("name"), fs[k].name);
        OGRGeometry* g = nullptr;
        OGRGeometryFactory::createFromWkt(in[k].wkt.c_str(), nullptr, &g);
        std::vector<std::pair<double, double>> smp;
        const auto type = wkbFlatten(g->getGeometryType());
        if (type == wkbPoint)
            smp.push_back({g->toPoint()->getX(), g->toPoint()->getY()});
        else if (type == wkbLineString)
            line_samples(*g->toLineString(), false, 1, smp);
        else if (type == wkbMultiPoint)
            for (const OGRPoint* p : *g->toMultiPoint()) smp.push_back({p->getX(), p->getY()});
        else if (type == wkbPolygon)
            smp = polygon_samples(*g->toPolygon(), 1);
        else
            for (const OGRPolygon* p : *g->toMultiPolygon()) {
                const auto part = polygon_samples(*p, 1);
                smp.insert(smp.end(), part.begin(), part.end());
            }
        OGRGeometryFactory::destroyGeometry(g);
        expect_worst(out[k], judge(smp), fs[k].name);
        EXPECT_EQ(out[k].f.at("orv_state"), "full") << fs[k].name;
    }
    EXPECT_NE(r.out.find("Urteil: gefaehrdet"), std::string::npos) << r.out;
}

TEST(AssessCommand, EqualPointsGiveTheFirst) {
    // Jet to the north: y = E0 - E exactly, so mirrored points tie.
    const std::string dir = scratch_dir();
    write_layer(dir + "/t.gpkg", "GPKG", "t", 2056,
                {{"MULTIPOINT (2600007 1200120, 2599993 1200120)", "rechts zuerst"},
                 {"MULTIPOINT (2599993 1200120, 2600007 1200120)", "links zuerst"}});
    auto a = site;
    a[a.size() - 1] = "0";
    a.insert(a.end(), {dir + "/t.gpkg", "-o", dir + "/o.gpkg"});
    ASSERT_EQ(run_orvalis(a).code(), 0);
    const auto out = read_layer(dir + "/o.gpkg", "t");
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].f.at("orv_y"), "-7");
    EXPECT_EQ(out[1].f.at("orv_y"), "7");
}

TEST(AssessCommand, RepeatedLayerNamesGetASuffixInCommandLineOrder) {
    const std::string dir = scratch_dir();
    write_layer(dir + "/a.gpkg", "GPKG", "haus", 2056, {{"POINT (" + world(100, 0) + ")", "a"}});
    write_layer(dir + "/b.gpkg", "GPKG", "haus", 2056, {{"POINT (" + world(200, 0) + ")", "b"}});
    auto a = site;
    a.insert(a.end(), {dir + "/b.gpkg", dir + "/a.gpkg", "--layer", "haus", "-o", dir + "/o"});
    ASSERT_EQ(run_orvalis(a).code(), 0);
    EXPECT_EQ(read_layer(dir + "/o", "haus").at(0).f.at("name"), "b");
    EXPECT_EQ(read_layer(dir + "/o", "haus_2").at(0).f.at("name"), "a");
}

TEST(AssessCommand, StatesAndVerdictAtTheEndsOfTheTables) {
    const std::string dir = scratch_dir();
    const auto t = tables();
    const std::vector<feature_in> fs = {
        {"LINESTRING (" + world(t.far - 20, 0) + ", " + world(t.far + 30, 0) + ")", "teils"},
        {"POINT (" + world(t.far + 100, 0) + ")", "jenseits"},
        {"POINT (" + world(-50, 0) + ")", "oberhalb"},
        {"", "leer"},
        {"POINT (" + world(t.near / 2, 0) + ")", "nah"},
        {"POINT (" + world(t.far + 100, 5000) + ")", "weit seitlich"},
    };
    write_layer(dir + "/in.geojson", "GeoJSON", "objekte", 2056, fs);
    const auto r = run_orvalis([&] {
        auto a = site;
        a.insert(a.end(),
                 {dir + "/in.geojson", "-o", dir + "/out.geojson", "--json", "--from", "3"});
        return a;
    }());
    ASSERT_EQ(r.code(), 0) << r.err;
    const auto out = read_layer(dir + "/out.geojson", nullptr);
    ASSERT_EQ(out.size(), fs.size());
    const char* states[] = {"part", "none", "upstream", "empty", "none", "none"};
    for (std::size_t k = 0; k < fs.size(); ++k)
        EXPECT_EQ(out[k].f.at("orv_state"), states[k]) << fs[k].name;
    // The far end's level on the axis, unknown far to the side.
    const orv::site s = orv::make_site(site_params());
    const int end = orv::danger_level(
        0, orv::evaluate(s, std::nextafter(static_cast<float>(t.far), 0.0f), 0).res);
    EXPECT_EQ(out[1].f.at("orv_end"), std::to_string(end));
    EXPECT_EQ(out[1].f.at("orv_level"), "null");
    // Without a result there is no worst point: empty, never 0.
    for (std::size_t k = 1; k < fs.size(); ++k) {
        EXPECT_EQ(out[k].f.at("orv_east"), "null") << fs[k].name;
        EXPECT_EQ(out[k].f.at("orv_north"), "null") << fs[k].name;
    }
    EXPECT_NE(out[0].f.at("orv_east"), "null");
    EXPECT_EQ(out[5].f.at("orv_end"), "0");
    EXPECT_EQ(
        out[4].f.at("orv_start"),
        std::to_string(orv::danger_level(0, orv::evaluate(s, static_cast<float>(t.near), 0).res)));
    EXPECT_EQ(out[2].f.at("orv_start"), "null");
    ASSERT_EQ(end, 3);
    EXPECT_NE(r.out.find("\"verdict\": \"yes\""), std::string::npos) << r.out;

    // Beyond the tables at level 3 on the axis: open; far to the side,
    // upstream or without geometry: no.
    write_layer(dir + "/jenseits.geojson", "GeoJSON", "j", 2056, {fs[1], fs[5]});
    write_layer(dir + "/seitlich.geojson", "GeoJSON", "s", 2056, {fs[2], fs[3], fs[5]});
    for (const auto& [file, verdict] :
         {std::pair{"/jenseits.geojson", "open"}, std::pair{"/seitlich.geojson", "no"}}) {
        auto a = site;
        a.insert(a.end(), {dir + file, "--json", "--from", "3"});
        const auto v = run_orvalis(a);
        EXPECT_NE(v.out.find(std::string("\"verdict\": \"") + verdict), std::string::npos)
            << file << v.out;
    }
}

TEST(AssessCommand, GeographicLayerIsTransformedToTheSiteSystem) {
    const std::string dir = scratch_dir();
    OGRSpatialReference ch, wgs;
    ch.importFromEPSG(2056);
    wgs.importFromEPSG(4326);
    ch.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    wgs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    auto* back = OGRCreateCoordinateTransformation(&ch, &wgs);
    auto* there = OGRCreateCoordinateTransformation(&wgs, &ch);
    std::vector<std::string> lonlat;
    std::vector<std::pair<double, double>> expect;
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{{90, 3}, {160, -12}}) {
        const auto w = world(x, y);
        double e = std::stod(w.substr(0, w.find(' '))), n = std::stod(w.substr(w.find(' ') + 1));
        back->Transform(1, &e, &n);
        char b[80];
        std::snprintf(b, sizeof b, "POINT (%.12f %.12f)", e, n);
        lonlat.push_back(b);
        OGRGeometry* g = nullptr;
        OGRGeometryFactory::createFromWkt(b, nullptr, &g);
        g->transform(there);
        expect.push_back({g->toPoint()->getX(), g->toPoint()->getY()});
        OGRGeometryFactory::destroyGeometry(g);
    }
    OGRCoordinateTransformation::DestroyCT(back);
    OGRCoordinateTransformation::DestroyCT(there);
    write_layer(dir + "/wgs.shp", "ESRI Shapefile", "wgs", 4326,
                {{lonlat[0], "a"}, {lonlat[1], "b"}});
    const auto r = run_orvalis([&] {
        auto a = site;
        a.insert(a.end(), {dir + "/wgs.shp", "--crs", "EPSG:2056", "-o", dir + "/o.shp"});
        return a;
    }());
    ASSERT_EQ(r.code(), 0) << r.err;
    const auto out = read_layer(dir + "/o.shp", nullptr);
    ASSERT_EQ(out.size(), 2u);
    for (std::size_t k = 0; k < 2; ++k) expect_worst(out[k], judge({expect[k]}), lonlat[k]);
}

TEST(AssessCommand, BadInputNamesWhereAndWritesNothing) {
    const std::string dir = scratch_dir();
    write_layer(dir + "/a.gpkg", "GPKG", "a", 2056, {{"POINT (" + world(100, 0) + ")", "x"}});
    write_layer(dir + "/b.gpkg", "GPKG", "b", 2056, {{"POINT (" + world(100, 0) + ")", "y"}});
    // Latitude 95 cannot be taken to the site's system.
    write_layer(dir + "/w.gpkg", "GPKG", "w", 4326,
                {{"POINT (7.4 46.9)", "gut"}, {"POINT (7.4 95)", "kaputt"}});
    write_layer(dir + "/geo.gpkg", "GPKG", "geo", 4326, {{"POINT (7.4 46.9)", "z"}});
    struct bad_case {
        std::vector<std::string> args;
        int code;
        std::string says;
        std::string out; // a file that must not exist afterwards, or ""
    };
    const std::vector<bad_case> cases = {
        {{dir + "/fehlt.gpkg", "-o", dir + "/o1.gpkg"}, 1, "fehlt.gpkg", dir + "/o1.gpkg"},
        {{dir + "/a.gpkg", "--layer", "nirgends", "-o", dir + "/o2.gpkg"},
         1,
         "nirgends",
         dir + "/o2.gpkg"},
        {{dir + "/w.gpkg", "--crs", "EPSG:2056", "-o", dir + "/o3.gpkg"},
         1,
         "w.gpkg, Ebene w, Objekt 2",
         dir + "/o3.gpkg"},
        {{dir + "/geo.gpkg"}, 1, "EPSG:4326", ""},
        {{dir + "/a.gpkg", dir + "/b.gpkg", "-o", dir + "/o4.geojson"},
         2,
         "nur eine Ebene",
         dir + "/o4.geojson"},
        {{dir + "/a.gpkg", "-o", dir + "/a.gpkg"}, 2, "Quelle", ""},
        {{dir + "/a.gpkg", "-o", dir + "/o5.gpkg", "--label", ""}, 1, "--label", dir + "/o5.gpkg"},
    };
    for (const bad_case& c : cases) {
        auto a = site;
        a.insert(a.end(), c.args.begin(), c.args.end());
        const auto r = run_orvalis(a);
        EXPECT_EQ(r.code(), c.code) << c.says << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        if (!c.out.empty()) {
            EXPECT_FALSE(std::filesystem::exists(c.out)) << c.out;
        }
    }
    EXPECT_EQ(run_orvalis({"assess", dir + "/a.gpkg", "--azimuth", "0"}).code(), 2);
    EXPECT_EQ(read_layer(dir + "/a.gpkg", "a").size(), 1u);

    // Going on past the bad feature: it is written without result, exit 3.
    auto a = site;
    a.insert(a.end(), {dir + "/w.gpkg", "--crs", "EPSG:2056", "-o", dir + "/k.gpkg", "--keep-going",
                       "--json"});
    const auto r = run_orvalis(a);
    EXPECT_EQ(r.code(), 3) << r.err;
    EXPECT_NE(r.out.find("\"skipped\": true"), std::string::npos) << r.out;
    const auto out = read_layer(dir + "/k.gpkg", "w");
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].f.at("orv_state"), "none");
    EXPECT_EQ(out[1].f.at("orv_level"), "null");
    EXPECT_EQ(out[1].f.at("name"), "kaputt");
}

// Empty and repeated option values are refused before any command runs,
// naming the option, for the commands that read the user's layers too.
TEST(AssessCommand, EmptyAndRepeatedValuesNameTheOption) {
    const std::vector<std::string> breach = {"--origin", "1,2", "--azimuth", "0"};
    const struct {
        std::vector<std::string> args;
        int code;
        std::string err;
    } cases[] = {
        {{"assess", "a.gpkg", "--spacing", ""}, 1, "orvalis: Option --spacing: leerer Wert\n"},
        {{"report", "a.gpkg", "--crs", "EPSG:2056", "-o", "r.pdf", "--coords", ""},
         1,
         "orvalis: Option --coords: leerer Wert\n"},
        {{"inventory", "reg.csv", "--objects", "", "-o", "o.csv"},
         1,
         "orvalis: Option --objects: leerer Wert\n"},
        {{"assess", "a.gpkg", "--from", "1", "--from", "2"},
         2,
         "orvalis: Option --from: nur einmal erlaubt\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> a = c.args;
        if (a[0] != "inventory") a.insert(a.end(), breach.begin(), breach.end());
        const auto r = run_orvalis(a);
        EXPECT_EQ(r.code(), c.code) << c.err;
        EXPECT_EQ(r.err, c.err);
    }
}

} // namespace

// A verdict is never computed from the calculator's defaults: each of the
// five site parameters left out is named, exit 1, nothing written.
TEST(AssessCommand, EveryVerdictNeedsTheFiveSiteParameters) {
    const std::string dir = scratch_dir();
    write_layer(dir + "/a.gpkg", "GPKG", "a", 2056, {{"POINT (" + world(100, 0) + ")", "x"}});
    const std::vector<std::pair<std::string, std::string>> given = {
        {"-H", "8"}, {"-B", "20"}, {"--vol", "60000"}, {"-S", "6"}, {"-D", "0.1"}};
    const char* const names[] = {"H", "B", "Vol", "S", "D"};
    for (const char* cmd : {"assess", "report"}) {
        for (std::size_t left = 0; left < given.size(); ++left) {
            const std::string out = dir + "/o" + std::to_string(left) + "." +
                                    (cmd == std::string("assess") ? "gpkg" : "pdf");
            std::vector<std::string> a = {cmd,         dir + "/a.gpkg",
                                          "--origin",  "2600000,1200000",
                                          "--azimuth", "120",
                                          "--crs",     "EPSG:2056",
                                          "-o",        out};
            for (std::size_t k = 0; k < given.size(); ++k)
                if (k != left) a.insert(a.end(), {given[k].first, given[k].second});
            const auto r = run_orvalis(a);
            EXPECT_EQ(r.code(), 1) << cmd << " " << names[left] << ": " << r.err;
            EXPECT_EQ(r.err, std::string("orvalis ") + cmd + ": " + names[left] +
                                 " fehlt: Option " + given[left].first +
                                 " angeben (ein Urteil braucht alle fuenf Parameter H, B, Vol, "
                                 "S, D)\n");
            EXPECT_FALSE(std::filesystem::exists(out)) << out;
        }
    }
}
