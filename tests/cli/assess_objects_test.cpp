// The object path of assess, report, map and inventory against what would
// turn a verdict quietly to "nicht gefaehrdet": unreadable geometries, an
// object on the breach, coordinates too far out for the spacing, an output
// over a file of an input, CSV outputs that must keep their geometry, and
// the worst points' layer beside the judged objects.
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include "support/command.h"

namespace {

using orv::test::read_file;
using orv::test::run_orvalis;
using orv::test::run_program;
using orv::test::scratch_dir;
using orv::test::write_file;

const std::vector<std::string> site = {"-H",        "8",     "-B",       "20",
                                       "--vol",     "60000", "-S",       "6",
                                       "-D",        "0.1",   "--origin", "2600000,1200000",
                                       "--azimuth", "90",    "--crs",    "EPSG:2056"};

// "assess PATH <site> EXTRA..." as arguments.
std::vector<std::string> assess(const std::string& path, std::vector<std::string> extra = {}) {
    std::vector<std::string> a{"assess", path};
    a.insert(a.end(), site.begin(), site.end());
    a.insert(a.end(), extra.begin(), extra.end());
    return a;
}

// A building at level 3 (x = 50) beside the object under test.
const std::string building =
    "\"POLYGON ((2600050 1199990,2600060 1199990,2600060 1200000,2600050 1200000,"
    "2600050 1199990))\"";

const char* geojson_head =
    "{\"type\":\"FeatureCollection\",\"crs\":{\"type\":\"name\",\"properties\":"
    "{\"name\":\"urn:ogc:def:crs:EPSG::2056\"}},\"features\":[";

std::string geojson_feature(int id, const std::string& geometry) {
    return "{\"type\":\"Feature\",\"properties\":{\"id\":" + std::to_string(id) +
           "},\"geometry\":" + geometry + "}";
}

// Writes a source in which object 2 (fid 2; Shapefile: fid 1) cannot be
// read, beside a building at level 3; returns its path.
using maker = std::string (*)(const std::string& dir);

std::string csv_missing_paren(const std::string& d) {
    write_file(d + "/k.csv", "id,WKT\n1," + building +
                                 "\n2,\"POLYGON ((2600100 1199990,2600110 1199990,"
                                 "2600110 1200000,2600100 1199990)\"\n");
    return d + "/k.csv";
}

// A curve polygon whose ring does not close: it reads, but linearises to nothing.
std::string csv_open_curve(const std::string& d) {
    write_file(d + "/k.csv", "id,WKT\n1," + building +
                                 "\n2,\"CURVEPOLYGON (CIRCULARSTRING (2600100 1200000,2600110 "
                                 "1200010,2600120 1200000,2600110 1199990,2600109 1200000))\"\n");
    return d + "/k.csv";
}

// A text GDAL's CSV reader turns into an empty curve polygon.
std::string csv_garbled_type(const std::string& d) {
    write_file(d + "/k.csv", "id,WKT\n1," + building +
                                 "\n2,\"POLYGON PAOLYGON ((2600100 1200000,2600110 1200010))\"\n");
    return d + "/k.csv";
}

// A line beyond the CSV reader's limit, lowered for the test to 100 kB
// (OGR_CSV_MAX_LINE_SIZE) so that no 10 MB line has to be grown and read.
std::string csv_line_too_long(const std::string& d) {
    std::string line = "2,\"LINESTRING (";
    for (int k = 0; k < 20000; ++k) line += "2600100 1200000,";
    line += "2600101 1200000)\"\n";
    write_file(d + "/k.csv", "id,WKT\n1," + building + "\n" + line);
    return d + "/k.csv";
}

std::string geojson_misspelled(const std::string& d) {
    write_file(d + "/k.geojson",
               std::string(geojson_head) +
                   geojson_feature(1, "{\"type\":\"Polygon\",\"coordinates\":[[[2600050,1199990],"
                                      "[2600060,1199990],[2600060,1200000],[2600050,1199990]]]}") +
                   "," +
                   geojson_feature(2, "{\"type\":\"Pointt\",\"coordinates\":[2600100,1200000]}") +
                   "]}");
    return d + "/k.geojson";
}

std::string geojson_bad_number(const std::string& d) {
    write_file(d + "/k.geojson",
               std::string(geojson_head) +
                   geojson_feature(1, "{\"type\":\"Point\",\"coordinates\":[2600050,1200000]}") +
                   "," + geojson_feature(2, "{\"type\":\"Point\",\"coordinates\":[\"a\",\"b\"]}") +
                   "]}");
    return d + "/k.geojson";
}

// The CSV source written as a GeoPackage by assess itself, then a blob broken.
std::string gpkg_corrupt_blob(const std::string& d) {
    write_file(d + "/g.csv", "id,WKT\n1," + building + "\n2,\"POINT (2600100 1200000)\"\n");
    run_orvalis(assess(d + "/g.csv", {"-o", d + "/k.gpkg"}));
    GDALDataset* ds = GDALDataset::Open((d + "/k.gpkg").c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE);
    if (ds) {
        ds->ReleaseResultSet(ds->ExecuteSQL(
            "UPDATE g SET geom = X'4750000100000000DEADBEEF' WHERE fid = 2", nullptr, nullptr));
        GDALClose(ds);
    }
    return d + "/k.gpkg";
}

// A Shapefile of two polygons whose .shp is cut by 20 bytes.
std::string shapefile_cut(const std::string& d) {
    write_file(d + "/g.csv", "id,WKT\n1," + building + "\n2," + building + "\n");
    run_orvalis(assess(d + "/g.csv", {"-o", d + "/k.shp"}));
    const auto size = std::filesystem::file_size(d + "/k.shp");
    std::filesystem::resize_file(d + "/k.shp", size - 20);
    return d + "/k.shp";
}

TEST(AssessObjects, UnreadableGeometryIsAnErrorOfItsFeatureNeverEmpty) {
    GDALAllRegister();
    setenv("OGR_CSV_MAX_LINE_SIZE", "100000", 1);
    struct bad_case {
        const char* name;
        maker make;
        const char* where; // in the message
        int keep_going;    // exit status with --keep-going
    };
    const std::vector<bad_case> cases = {
        {"csv_missing_paren", csv_missing_paren, "Ebene k, Objekt 2: Geometrie nicht lesbar", 3},
        {"csv_open_curve", csv_open_curve, "Ebene k, Objekt 2: Geometrie nicht lesbar", 3},
        {"csv_garbled_type", csv_garbled_type, "Ebene k, Objekt 2: Geometrie nicht lesbar", 3},
        {"geojson_misspelled", geojson_misspelled, "Ebene k, Objekt 2: Geometrie nicht lesbar", 3},
        {"geojson_bad_number", geojson_bad_number, "Ebene k, Objekt 2: Geometrie nicht lesbar", 3},
        {"gpkg_corrupt_blob", gpkg_corrupt_blob, "Ebene g, Objekt 2: Geometrie nicht lesbar:", 3},
        {"shapefile_cut", shapefile_cut, "Ebene k, Objekt 1: Geometrie nicht lesbar:", 3},
        // Nothing after the failure can be read: the layer stops the run.
        {"csv_line_too_long", csv_line_too_long, "Ebene k, nach Objekt 1: Datei nicht weiter", 1},
    };
    for (const bad_case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string d = scratch_dir();
        const std::string path = c.make(d);
        const auto stopped = run_orvalis(assess(path, {"-o", d + "/out.gpkg"}));
        EXPECT_EQ(stopped.code(), 1) << stopped.err;
        EXPECT_NE(stopped.err.find(c.where), std::string::npos) << stopped.err;
        EXPECT_EQ(stopped.err.find("ERROR"), std::string::npos) << stopped.err;
        EXPECT_FALSE(std::filesystem::exists(d + "/out.gpkg"));
        const auto kept = run_orvalis(assess(path, {"--keep-going", "--json"}));
        EXPECT_EQ(kept.code(), c.keep_going) << kept.err;
        EXPECT_EQ(kept.err.find("ERROR"), std::string::npos) << kept.err;
        EXPECT_EQ(kept.out.find("\"empty\": 1"), std::string::npos) << kept.out;
        if (c.keep_going == 3) {
            EXPECT_NE(kept.out.find("\"skipped\": true"), std::string::npos) << kept.out;
        }
    }
    unsetenv("OGR_CSV_MAX_LINE_SIZE");
}

TEST(AssessObjects, NullAndEmptyGeometriesStayWithoutGeometryAndAreNamed) {
    const std::string d = scratch_dir();
    struct empty_case {
        const char* name;
        std::string file, content;
        const char* all_empty; // the summary's line when every object is empty
    };
    const std::vector<empty_case> cases = {
        {"csv", "e.csv", "id,WKT\n1,\n2,\"POINT EMPTY\"\n", "alle Objekte ohne Geometrie"},
        {"geojson", "e.geojson",
         std::string(geojson_head) + geojson_feature(1, "null") + "," +
             geojson_feature(2, "{\"type\":\"Point\",\"coordinates\":[]}") + "]}",
         "alle Objekte ohne Geometrie"},
        {"csv_with_building", "b.csv", "id,WKT\n1,\n2," + building + "\n", nullptr},
    };
    for (const empty_case& c : cases) {
        SCOPED_TRACE(c.name);
        write_file(d + "/" + c.file, c.content);
        const auto r = run_orvalis(assess(d + "/" + c.file, {"--label", "id"}));
        EXPECT_EQ(r.code(), 0) << r.err;
        EXPECT_NE(r.out.find("1: ohne Geometrie"), std::string::npos) << r.out;
        if (c.all_empty) {
            EXPECT_NE(r.out.find(c.all_empty), std::string::npos) << r.out;
        } else {
            EXPECT_EQ(r.out.find("alle Objekte ohne Geometrie"), std::string::npos) << r.out;
        }
    }
}

TEST(AssessObjects, AnObjectOnTheBreachIsNearItNotUpstream) {
    const std::string d = scratch_dir();
    struct breach_case {
        const char* wkt;
        const char* verdict;
        const char* state;
    };
    // The jet runs east: x is the easting's distance from the breach.
    const std::vector<breach_case> cases = {
        {"POINT (2600000 1200000)", "\"open\"", "Status 1"},
        {"POINT (2600000.001 1200000)", "\"open\"", "Status 1"},
        {"LINESTRING (2599990 1200000,2600000 1200000)", "\"open\"", "Status 1"},
        {"POINT (2599999.999 1200000)", "\"no\"", "oberhalb der Bresche"},
    };
    for (const breach_case& c : cases) {
        SCOPED_TRACE(c.wkt);
        write_file(d + "/p.csv", std::string("id,WKT\n1,\"") + c.wkt + "\"\n");
        const auto j = run_orvalis(assess(d + "/p.csv", {"--json"}));
        EXPECT_EQ(j.code(), 0) << j.err;
        EXPECT_NE(j.out.find(std::string("\"verdict\": ") + c.verdict), std::string::npos) << j.out;
        const auto t = run_orvalis(assess(d + "/p.csv"));
        EXPECT_NE(t.out.find(c.state), std::string::npos) << t.out;
    }
}

TEST(AssessObjects, CoordinatesTooFarOutForTheSpacingFailInTime) {
    const std::string d = scratch_dir();
    write_file(d + "/far.csv", "id,WKT\n1,\"POLYGON ((1e17 1e17,1.00000000000000016e17 1e17,"
                               "1e17 1.00000000000000016e17,1e17 1e17))\"\n");
    write_file(d + "/flat.csv",
               "id,WKT\n1,\"POLYGON ((1e300 1e300,1e300 1e300,1e300 1e300,1e300 1e300))\"\n");
    write_file(d + "/tiny.csv", "id,WKT\n1,\"POLYGON ((2600050 1199990,2600050.000001 1199990,"
                                "2600050.000001 1199990.000001,2600050 1199990))\"\n");
    write_file(d + "/reg.csv",
               "id,E,N,H,B,Vol,S,D,azimuth\nA,2600000,1200000,8,20,60000,6,0.1,90\n");
    const std::vector<std::string> geo = {"--origin", "2600000,1200000", "--azimuth",
                                          "90",       "--crs",           "EPSG:2056"};
    struct far_case {
        const char* name;
        std::vector<std::string> args;
    };
    std::vector<far_case> cases = {
        {"assess_far", assess(d + "/far.csv")},
        {"assess_flat", assess(d + "/flat.csv")},
        {"assess_tiny", assess(d + "/tiny.csv", {"--spacing", "1e-11"})},
        {"report",
         {"report", d + "/far.csv", "-H", "8", "-B", "20", "--vol", "60000", "-S", "6", "-D", "0.1",
          "-o", d + "/r.pdf"}},
        {"map", {"map", "--objects", d + "/flat.csv", "-o", d + "/m.png"}},
        {"inventory",
         {"inventory", d + "/reg.csv", "--objects", d + "/far.csv", "--crs", "EPSG:2056", "--id",
          "id", "-o", d + "/i.csv"}},
    };
    for (std::size_t k = 3; k < 5; ++k)
        cases[k].args.insert(cases[k].args.end(), geo.begin(), geo.end());
    for (const far_case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> a{"timeout", "10", ORVALIS_BINARY};
        a.insert(a.end(), c.args.begin(), c.args.end());
        const auto r = run_program("/usr/bin/timeout", a);
        // Refused in time: by the lattice, or before it by the area of use of
        // the site's system when the extent can be taken to degrees.
        EXPECT_EQ(r.code(), 1) << r.err;
        EXPECT_TRUE(r.err.find("Objekt 1: Koordinate zu gross fuer den Abstand der Stichproben") !=
                        std::string::npos ||
                    r.err.find("Ausdehnung liegt ausserhalb des Gebiets von EPSG:2056") !=
                        std::string::npos)
            << r.err;
    }
}

// Parts far apart are each sampled within their own extent: a multipart
// object is judged, not refused for the box around all its parts. A single
// part as wide as that box is still refused.
TEST(AssessObjects, MultipartFarApartIsJudgedPartByPart) {
    const std::string d = scratch_dir();
    const std::string near = "((2600050 1199990,2600060 1199990,2600060 1200000,2600050 1199990))";
    // 200 km east and 80 km north of the breach: 215 km from the near part.
    const std::string far = "((2800000 1280000,2800010 1280000,2800010 1280010,2800000 1280000))";
    struct row {
        std::string wkt;
        int code;
        const char* text;
    };
    const std::vector<row> rows = {
        {"MULTIPOLYGON (" + near + "," + far + ")", 0, "Urteil: gefaehrdet"},
        {"MULTIPOLYGON (" + far + "," + near + ")", 0, "Urteil: gefaehrdet"},
        {"GEOMETRYCOLLECTION (POLYGON " + near + ",LINESTRING (2800000 1280000,2800010 1280000))",
         0, "Urteil: gefaehrdet"},
        {"POLYGON ((2600050 1199990,2800000 1199990,2800000 1280000,2600050 1199990))", 1,
         "Ausdehnung zu gross fuer den Abstand der Stichproben"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.wkt);
        write_file(d + "/m.csv", "id,WKT\n1,\"" + r.wkt + "\"\n");
        const auto t = run_orvalis(assess(d + "/m.csv"));
        EXPECT_EQ(t.code(), r.code) << t.err;
        EXPECT_NE((t.out + t.err).find(r.text), std::string::npos) << t.out << t.err;
    }
}

// Names from the data in the summary: as they are where the locale shows
// UTF-8 (the first of LC_ALL, LC_CTYPE, LANG that is set decides), spelt in
// ASCII elsewhere; the tool's own words stay ASCII in both.
TEST(AssessObjects, NamesOnTheTerminalFollowTheLocale) {
    const std::string d = scratch_dir();
    write_file(d + "/n.csv", "name,WKT\n\"Wohnhaus Bachstra\u00dfe 12\"," + building +
                                 "\n\"Caf\u00e9 Bellevue\"," + building + "\n");
    struct row {
        std::vector<std::string> env;
        std::string first, second;
    };
    const std::vector<row> rows = {
        {{"LC_ALL=C"}, "Wohnhaus Bachstrasse 12", "Cafe Bellevue"},
        {{"LC_ALL=C.UTF-8"}, "Wohnhaus Bachstra\u00dfe 12", "Caf\u00e9 Bellevue"},
        {{"-u", "LC_ALL", "-u", "LC_CTYPE", "LANG=de_CH.UTF-8"},
         "Wohnhaus Bachstra\u00dfe 12",
         "Caf\u00e9 Bellevue"},
        {{"LC_ALL=C", "LANG=de_CH.UTF-8"}, "Wohnhaus Bachstrasse 12", "Cafe Bellevue"},
        {{"-u", "LC_ALL", "LC_CTYPE=de_CH.ISO-8859-1", "LANG=de_CH.UTF-8"},
         "Wohnhaus Bachstrasse 12",
         "Cafe Bellevue"},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.env.back());
        std::vector<std::string> a = {"env"};
        a.insert(a.end(), r.env.begin(), r.env.end());
        a.push_back(ORVALIS_BINARY);
        const auto args = assess(d + "/n.csv", {"--label", "name"});
        a.insert(a.end(), args.begin(), args.end());
        const auto t = run_program("/usr/bin/env", a);
        EXPECT_EQ(t.code(), 0) << t.err;
        EXPECT_NE(t.out.find("    " + r.first + ": Stufe 3"), std::string::npos) << t.out;
        EXPECT_NE(t.out.find("    " + r.second + ": Stufe 3"), std::string::npos) << t.out;
        EXPECT_EQ(t.out.find('?'), std::string::npos) << t.out;
        EXPECT_NE(t.out.find("Urteil: gefaehrdet"), std::string::npos) << t.out;
    }
}

TEST(AssessObjects, NoOutputReplacesAFileOfAnInput) {
    const std::string d = scratch_dir();
    write_file(d + "/g.csv", "id,WKT\n1," + building + "\n");
    ASSERT_EQ(run_orvalis(assess(d + "/g.csv", {"-o", d + "/gshp.shp"})).code(), 0);
    write_file(d + "/reg.csv",
               "id,E,N,H,B,Vol,S,D,azimuth\nA,2600000,1200000,8,20,60000,6,0.1,90\n");
    std::filesystem::create_symlink(d + "/gshp.dbf", d + "/link.dbf");
    const std::string before = read_file(d + "/gshp.dbf");
    const std::vector<std::vector<std::string>> cases = {
        assess(d + "/gshp.shp", {"-o", d + "/gshp.dbf"}),
        assess(d + "/gshp.shp", {"-o", d + "/gshp.shp"}),
        assess(d + "/gshp.shp", {"-o", d + "/link.dbf"}),
        {"inventory", d + "/reg.csv", "--objects", d + "/gshp.shp", "--crs", "EPSG:2056", "--id",
         "id", "-o", d + "/i.csv", "--objects-out", d + "/gshp.dbf"},
    };
    for (const auto& a : cases) {
        SCOPED_TRACE(a.back());
        const auto r = run_orvalis(a);
        EXPECT_EQ(r.code(), 2) << r.err;
        EXPECT_NE(r.err.find("nennt die Quelle " + d + "/gshp.shp"), std::string::npos) << r.err;
        EXPECT_EQ(read_file(d + "/gshp.dbf"), before);
    }
}

TEST(AssessObjects, CsvOutputsKeepTheGeometryInOneWktColumn) {
    const std::string d = scratch_dir();
    write_file(d + "/src.csv", "id,WKT\n1," + building + "\n2,\"POINT (2600100 1200000)\"\n");
    ASSERT_EQ(run_orvalis(assess(d + "/src.csv", {"-o", d + "/src.gpkg"})).code(), 0);
    write_file(d + "/reg.csv",
               "id,E,N,H,B,Vol,S,D,azimuth\nA,2600000,1200000,8,20,60000,6,0.1,90\n");
    struct csv_case {
        const char* name;
        std::vector<std::string> args;
        std::string out;
    };
    const std::vector<csv_case> cases = {
        {"assess_from_csv", assess(d + "/src.csv", {"-o", d + "/a.csv"}), d + "/a.csv"},
        {"assess_from_gpkg", assess(d + "/src.gpkg", {"-o", d + "/b.csv"}), d + "/b.csv"},
        {"objects_out",
         {"inventory", d + "/reg.csv", "--objects", d + "/src.csv", "--crs", "EPSG:2056", "--id",
          "id", "-o", d + "/i.csv", "--objects-out", d + "/c.csv"},
         d + "/c.csv"},
    };
    const auto want = run_orvalis(assess(d + "/src.csv", {"--json"}));
    for (const csv_case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = run_orvalis(c.args);
        ASSERT_EQ(r.code(), 0) << r.err;
        const std::string text = read_file(c.out);
        const std::string head = text.substr(0, text.find('\n'));
        EXPECT_EQ(head.rfind("WKT,", 0), 0u) << head;
        EXPECT_EQ(head.find("WKT", 1), std::string::npos) << head;
        // Read back, the objects are judged as the source's were.
        const auto again = run_orvalis(assess(c.out, {"--json"}));
        EXPECT_EQ(again.code(), 0) << again.err;
        const auto counts = [](const std::string& j) {
            const auto b = j.find("\"features\"");
            return b == std::string::npos ? j : j.substr(b, j.find("\"endangered\"") - b);
        };
        EXPECT_EQ(counts(again.out), counts(want.out));
    }
}

// A layer read back: per feature its fields as text ("null" for none, Reals
// in full), its fid and its point (for point layers); the field types.
struct layer_back {
    std::vector<std::map<std::string, std::string>> rows;
    std::vector<GIntBig> fids;
    std::vector<std::pair<double, double>> points;
    std::map<std::string, OGRFieldType> types;
    std::string epsg; // of the layer's system, "" for none
    bool found = false;
};

layer_back read_back(const std::string& path, const std::string& layer) {
    layer_back b;
    GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR);
    if (!ds) return b;
    OGRLayer* l = layer.empty() ? ds->GetLayer(0) : ds->GetLayerByName(layer.c_str());
    if (l) {
        b.found = true;
        if (const OGRSpatialReference* s = l->GetSpatialRef())
            b.epsg = s->GetAuthorityCode(nullptr) ? s->GetAuthorityCode(nullptr) : "";
        OGRFeatureDefn* d = l->GetLayerDefn();
        for (int i = 0; i < d->GetFieldCount(); ++i)
            b.types[d->GetFieldDefn(i)->GetNameRef()] = d->GetFieldDefn(i)->GetType();
        for (auto& f : *l) {
            std::map<std::string, std::string> row;
            for (int i = 0; i < f->GetFieldCount(); ++i) {
                char t[40];
                std::snprintf(t, sizeof t, "%.17g", f->GetFieldAsDouble(i));
                const bool real = d->GetFieldDefn(i)->GetType() == OFTReal;
                row[d->GetFieldDefn(i)->GetNameRef()] = !f->IsFieldSetAndNotNull(i) ? "null"
                                                        : real                      ? t
                                                               : f->GetFieldAsString(i);
            }
            b.rows.push_back(row);
            b.fids.push_back(f->GetFID());
            const OGRGeometry* g = f->GetGeometryRef();
            if (g && wkbFlatten(g->getGeometryType()) == wkbPoint)
                b.points.push_back({g->toPoint()->getX(), g->toPoint()->getY()});
        }
    }
    GDALClose(ds);
    return b;
}

// Three polygons: at level 3 beside the breach (x = 50), further down
// (x = 100), and upstream without a result; named by "name".
const std::string polygons =
    "name,WKT\nHaus," + building +
    "\nScheune,\"POLYGON ((2600100.25 1200003.5,2600113.75 1200003.5,2600113.75 1200011.125,"
    "2600100.25 1200003.5))\"\nOben,\"POLYGON ((2599000 1200000,2599010 1200000,2599010 "
    "1200010,2599000 1200000))\"\n";

// Every object with a result has one point, where its worst sample lies
// (its orv_east, orv_north), with its level, label, id and layer; in the
// file itself for a format of many layers, else beside it.
TEST(AssessObjects, WorstPointsLieWhereEachObjectIsHitWorst) {
    GDALAllRegister();
    const std::string d = scratch_dir();
    write_file(d + "/haeuser.csv", polygons);
    struct points_case {
        const char* ext;
        std::string points_file; // relative to d
        std::string layer;       // of the points, "" for the file's one
        bool typed;              // the format keeps the field types
    };
    const std::vector<points_case> cases = {
        {"gpkg", "out.gpkg", "schlimmste_punkte", true},
        {"shp", "out_schlimmste_punkte.shp", "", true},
        {"geojson", "out_schlimmste_punkte.geojson", "", false},
        {"csv", "out_schlimmste_punkte.csv", "", false},
    };
    for (const points_case& c : cases) {
        SCOPED_TRACE(c.ext);
        // A folder per format: outputs of one stem would share their style file.
        const std::string dir = d + "/" + c.ext;
        std::filesystem::create_directory(dir);
        const std::string out = dir + "/out." + c.ext;
        const auto r = run_orvalis(
            assess(d + "/haeuser.csv", {"-o", out, "--worst-points", "--label", "name"}));
        ASSERT_EQ(r.code(), 0) << r.err;
        const layer_back main = read_back(out, c.ext == std::string("gpkg") ? "haeuser" : "");
        const layer_back pts = read_back(dir + "/" + c.points_file, c.layer);
        ASSERT_TRUE(main.found && pts.found);
        ASSERT_EQ(main.rows.size(), 3u);
        ASSERT_EQ(pts.rows.size(), 2u); // "Oben" has no result
        // Empty, never 0 (a CSV reads its empty cell back as an empty text).
        const std::string empty = c.ext == std::string("csv") ? "" : "null";
        EXPECT_EQ(main.rows[2].at("orv_east"), empty);
        EXPECT_EQ(main.rows[2].at("orv_north"), empty);
        for (std::size_t k = 0; k < 2; ++k) {
            const auto& m = main.rows[k];
            const auto& p = pts.rows[k];
            EXPECT_EQ(p.at("orv_level"), m.at("orv_level"));
            EXPECT_EQ(p.at("orv_label"), m.at("name"));
            // The source's id (a CSV counts from 1), whatever ids the output gives.
            EXPECT_EQ(p.at("orv_fid"), std::to_string(k + 1));
            EXPECT_EQ(p.at("orv_layer"), "haeuser");
            ASSERT_EQ(pts.points.size(), 2u);
            EXPECT_EQ(pts.points[k].first, std::stod(m.at("orv_east")));
            EXPECT_EQ(pts.points[k].second, std::stod(m.at("orv_north")));
        }
        // The building's worst sample is its ring's first vertex nearest the breach.
        EXPECT_EQ(main.rows[0].at("orv_east"), "2600050");
        if (c.typed) {
            EXPECT_EQ(pts.types.at("orv_level"), OFTInteger);
            EXPECT_EQ(pts.types.at("orv_label"), OFTString);
            EXPECT_EQ(pts.types.at("orv_fid"), OFTInteger64);
            EXPECT_EQ(pts.types.at("orv_layer"), OFTString);
            EXPECT_EQ(main.types.at("orv_east"), OFTReal);
            EXPECT_EQ(pts.epsg, "2056");
        }
    }
    // Without the flag no points anywhere.
    ASSERT_EQ(run_orvalis(assess(d + "/haeuser.csv", {"-o", d + "/ohne.shp"})).code(), 0);
    EXPECT_FALSE(std::filesystem::exists(d + "/ohne_schlimmste_punkte.shp"));
}

// inventory's points are each object's worst over the dams: for one dam
// the same as assess gives.
TEST(AssessObjects, InventoryWorstPointsAreThoseOfAssessForOneDam) {
    GDALAllRegister();
    const std::string d = scratch_dir();
    write_file(d + "/haeuser.csv", polygons);
    write_file(d + "/reg.csv",
               "id,E,N,H,B,Vol,S,D,azimuth\nA,2600000,1200000,8,20,60000,6,0.1,90\n");
    ASSERT_EQ(
        run_orvalis(assess(d + "/haeuser.csv", {"-o", d + "/a.gpkg", "--worst-points"})).code(), 0);
    const layer_back want = read_back(d + "/a.gpkg", "schlimmste_punkte");
    for (const char* ext : {"gpkg", "shp"}) {
        SCOPED_TRACE(ext);
        const std::string out = d + "/i." + ext;
        const auto r = run_orvalis({"inventory", d + "/reg.csv", "--objects", d + "/haeuser.csv",
                                    "--crs", "EPSG:2056", "--id", "id", "-o", d + "/i.csv",
                                    "--objects-out", out, "--worst-points"});
        ASSERT_EQ(r.code(), 0) << r.err;
        const layer_back got = ext == std::string("gpkg")
                                   ? read_back(out, "schlimmste_punkte")
                                   : read_back(d + "/i_schlimmste_punkte.shp", "");
        ASSERT_EQ(got.rows.size(), want.rows.size());
        EXPECT_EQ(got.points, want.points);
        for (std::size_t k = 0; k < got.rows.size(); ++k) {
            EXPECT_EQ(got.rows[k].at("orv_level"), want.rows[k].at("orv_level"));
            EXPECT_EQ(got.rows[k].at("orv_fid"), want.rows[k].at("orv_fid"));
            EXPECT_EQ(got.rows[k].at("orv_label"), want.rows[k].at("orv_fid"));
            EXPECT_EQ(got.rows[k].at("orv_layer"), "haeuser");
        }
    }
}

// The flag needs an output; the points' file may not name a source nor be
// a directory, their layer not take the name of a layer written: refused,
// nothing written.
TEST(AssessObjects, WorstPointsRefusedWriteNothing) {
    GDALAllRegister();
    const std::string d = scratch_dir();
    write_file(d + "/haeuser.csv", polygons);
    write_file(d + "/reg.csv",
               "id,E,N,H,B,Vol,S,D,azimuth\nA,2600000,1200000,8,20,60000,6,0.1,90\n");
    ASSERT_EQ(
        run_orvalis(assess(d + "/haeuser.csv", {"-o", d + "/q_schlimmste_punkte.shp"})).code(), 0);
    ASSERT_EQ(
        run_orvalis(assess(d + "/haeuser.csv", {"-o", d + "/alt.gpkg", "--worst-points"})).code(),
        0);
    std::filesystem::create_directory(d + "/v_schlimmste_punkte.geojson");
    const std::vector<std::string> inv = {
        "inventory", d + "/reg.csv", "--objects",  d + "/haeuser.csv", "--crs",
        "EPSG:2056", "-o",           d + "/i.csv", "--worst-points"};
    struct refused {
        const char* name;
        std::vector<std::string> args;
        int code;
        std::string says;
        std::string out; // must not exist afterwards
    };
    std::vector<refused> cases = {
        {"assess without -o", assess(d + "/haeuser.csv", {"--worst-points"}), 2,
         "orvalis assess: --worst-points braucht -o\n", ""},
        {"inventory without --objects-out", inv, 2,
         "orvalis inventory: --worst-points braucht --objects-out\n", d + "/i.csv"},
        {"points over a source",
         assess(d + "/q_schlimmste_punkte.shp", {"-o", d + "/q.shp", "--worst-points"}), 2,
         "Option --worst-points: nennt die Quelle " + d + "/q_schlimmste_punkte.shp", d + "/q.shp"},
        {"points a directory",
         assess(d + "/haeuser.csv", {"-o", d + "/v.geojson", "--worst-points"}), 1,
         "v_schlimmste_punkte.geojson: nicht schreibbar: ist ein Verzeichnis", d + "/v.geojson"},
        {"layer name taken", assess(d + "/alt.gpkg", {"-o", d + "/neu.gpkg", "--worst-points"}), 2,
         "Option --worst-points: eine gewaehlte Ebene heisst schon schlimmste_punkte",
         d + "/neu.gpkg"},
    };
    std::vector<std::string> taken = inv;
    taken[3] = d + "/alt.gpkg";
    taken.insert(taken.end(), {"--objects-out", d + "/neu2.gpkg"});
    cases.push_back({"inventory layer name taken", taken, 2,
                     "Option --worst-points: eine gewaehlte Ebene heisst schon", d + "/neu2.gpkg"});
    for (const refused& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = run_orvalis(c.args);
        EXPECT_EQ(r.code(), c.code) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        if (!c.out.empty()) {
            EXPECT_FALSE(std::filesystem::exists(c.out));
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(d + "/v_schlimmste_punkte.geojson"));
}

} // namespace
