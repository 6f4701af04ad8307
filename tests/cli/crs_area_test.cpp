// A breach, a layer or a background in the wrong coordinate system is
// refused by every command that places them, and objects beyond the reach
// of the tables are said beside the verdict.
#include <filesystem>
#include <string>
#include <vector>

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include "support/command.h"

namespace {

using orv::test::read_file;
using orv::test::run_orvalis;
using orv::test::scratch_dir;
using orv::test::write_file;

const std::vector<std::string> site = {"-H", "8", "-B", "20",  "--vol",     "60000",
                                       "-S", "6", "-D", "0.1", "--azimuth", "90"};

// A 2 x 2 grey GeoTIFF in EPSG:2056 whose corner is (e, n).
void write_raster(const std::string& path, double e, double n) {
    GDALAllRegister();
    GDALDriver* d = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDataset* ds = d->Create(path.c_str(), 2, 2, 1, GDT_Byte, nullptr);
    ASSERT_NE(ds, nullptr);
    double gt[6] = {e, 10, 0, n, 0, -10};
    ds->SetGeoTransform(gt);
    OGRSpatialReference srs;
    srs.importFromEPSG(2056);
    ds->SetSpatialRef(&srs);
    GDALClose(ds);
}

TEST(CrsArea, NumbersOfAnotherSystemAreRefusedByEveryCommand) {
    const std::string d = scratch_dir() + "/";
    write_file(d + "o.csv", "id,WKT\n1,\"POLYGON ((2600050 1199990,2600060 1199990,2600060 1200000,"
                            "2600050 1199990))\"\n");
    write_file(d + "lv03.csv", "id,WKT\n1,\"POINT (600050 199990)\"\n");
    write_file(d + "afrika.csv", "id,WKT\n1,\"POINT (7.4 6.9)\"\n");
    write_file(d + "afrika.prj", "GEOGCS[\"WGS 84\",DATUM[\"WGS_1984\",SPHEROID[\"WGS 84\","
                                 "6378137,298.257223563]],PRIMEM[\"Greenwich\",0],"
                                 "UNIT[\"degree\",0.0174532925199433]]");
    write_file(d + "reg.csv", "id,E,N\nA,2600000,1200000\nB,600000,200000\n");
    write_raster(d + "bg.tif", 600000, 200000);
    const std::string good = "2600000,1200000", lv03 = "600000,200000";
    const struct {
        std::vector<std::string> args;
        int code;
        const char* says;
    } cases[] = {
        {{"assess", "o.csv", "--origin", lv03, "--crs", "EPSG:2056", "-o", "x.gpkg"},
         1,
         "Bresche (--origin): Punkt 600000, 200000 liegt ausserhalb des Gebiets von EPSG:2056"},
        {{"assess", "lv03.csv", "--origin", good, "--crs", "EPSG:2056", "-o", "x.gpkg"},
         1,
         "lv03.csv, Ebene lv03: Ausdehnung liegt ausserhalb des Gebiets von EPSG:2056"},
        {{"assess", "afrika.csv", "--origin", good, "--crs", "EPSG:2056"},
         1,
         "afrika.csv, Ebene afrika: Ausdehnung liegt ausserhalb"},
        {{"report", "lv03.csv", "--origin", good, "--crs", "EPSG:2056", "-o", "x.pdf"},
         1,
         "Ebene lv03: Ausdehnung"},
        {{"map", "--origin", lv03, "--crs", "EPSG:2056", "-o", "x.png"},
         1,
         "Option --origin: Punkt 600000, 200000 liegt ausserhalb"},
        {{"map", "--origin", good, "--crs", "EPSG:2056", "--objects", "lv03.csv", "-o", "x.png"},
         1,
         "Ebene lv03: Ausdehnung"},
        {{"map", "--origin", good, "--crs", "EPSG:2056", "--background", "bg.tif", "-o", "x.png"},
         1,
         "--background bg.tif: Ausdehnung liegt ausserhalb"},
        {{"inventory", "reg.csv", "--objects", "o.csv", "--crs", "EPSG:2056", "-o", "x.csv"},
         1,
         "reg.csv, Zeile 3, Anlage 2: Bresche (E, N): Punkt 600000, 200000 liegt ausserhalb"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> a = c.args;
        a.insert(a.end(), site.begin(), site.end());
        const auto r = run_orvalis(a, {}, d);
        EXPECT_EQ(r.code(), c.code) << c.says << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        for (const char* out : {"x.gpkg", "x.pdf", "x.png", "x.csv"})
            EXPECT_FALSE(std::filesystem::exists(d + out)) << c.says << ": " << out;
    }
    // With --keep-going the dam is a row error and keeps its place.
    std::vector<std::string> a = {"inventory", "reg.csv", "--objects", "o.csv",       "--crs",
                                  "EPSG:2056", "-o",      "x.csv",     "--keep-going"};
    a.insert(a.end(), site.begin(), site.end());
    const auto r = run_orvalis(a, {}, d);
    EXPECT_EQ(r.code(), 3) << r.err;
    const std::string out = read_file(d + "x.csv");
    EXPECT_NE(out.find("\nA,2600000,1200000,"), std::string::npos) << out;
    EXPECT_NE(out.find("\nB,600000,200000,"), std::string::npos) << out;
    EXPECT_NE(out.find("Bresche (E, N): Punkt 600000, 200000"), std::string::npos) << out;
}

TEST(CrsArea, ObjectsBeyondTheTablesAreSaidBesideTheVerdict) {
    const std::string d = scratch_dir() + "/";
    write_file(d + "o.csv", "id,WKT\n1,\"POINT (2600000 1300000)\"\n2,\"LINESTRING (2600000 "
                            "1250000,2600010 1250000)\"\n3,\"POINT (2600100 1400000)\"\n");
    const struct {
        const char* origin;
        const char* text; // in the summary, "" for none
        const char* json;
    } cases[] = {
        {"2600000,1200000",
         "Warnung: Kein Objekt im Bereich der Tabellen: naechstes Objekt 50000 m "
         "von der Bresche\n",
         "\"warnung\": \"Kein Objekt im Bereich der Tabellen: n\u00e4chstes Objekt 50000 m von der "
         "Bresche\""},
        {"2605000,1249990", "Warnung: Kein Objekt im Bereich der Tabellen: naechstes Objekt 4990 m",
         "n\u00e4chstes Objekt 4990 m"},
        {"2600100,1250000", "", ""},
    };
    for (const auto& c : cases) {
        std::vector<std::string> a = {"assess", "o.csv", "--origin",
                                      c.origin, "--crs", "EPSG:2056"};
        a.insert(a.end(), site.begin(), site.end());
        const auto t = run_orvalis(a, {}, d);
        a.push_back("--json");
        const auto j = run_orvalis(a, {}, d);
        EXPECT_EQ(t.code(), 0) << t.err;
        EXPECT_EQ(j.code(), 0) << j.err;
        if (*c.text) {
            EXPECT_NE(t.out.find(c.text), std::string::npos) << t.out;
            EXPECT_NE(j.out.find(c.json), std::string::npos) << j.out;
        } else {
            EXPECT_EQ(t.out.find("Warnung"), std::string::npos) << t.out;
            EXPECT_EQ(j.out.find("warnung"), std::string::npos) << j.out;
        }
    }
    std::vector<std::string> a = {"report", "o.csv",     "--origin", "2600000,1200000",
                                  "--crs",  "EPSG:2056", "-o",       "r.html"};
    a.insert(a.end(), site.begin(), site.end());
    const auto r = run_orvalis(a, {}, d);
    EXPECT_EQ(r.code(), 0) << r.err;
    EXPECT_NE(read_file(d + "r.html")
                  .find("Warnung: Kein Objekt im Bereich der Tabellen: "
                        "n\u00e4chstes Objekt 50000 m von der Bresche"),
              std::string::npos);
}

} // namespace
