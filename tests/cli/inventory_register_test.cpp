// orvalis inventory over registers as users bring them: rows of the wrong
// length, byte-order marks and foreign encodings, its own earlier output,
// and what the outputs say about rows and objects that were not computed.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include "support/command.h"
#include "support/csv_text.h"

namespace {

using orv::test::read_file;
using orv::test::run_orvalis;
using orv::test::scratch_dir;
using orv::test::write_file;

const std::string header = "E,N,H,B,Vol,S,D,azimuth";
const std::string good = "2600040,1200000,3,5,2000,4,0.1,9\n";
// Two objects: one beside the first dam, one a metre below its breach
// (near the breach, where the zone reaches level 1: open).
const std::string objects = "WKT,id\n\"POINT (2600037 1200020)\",1\n"
                            "\"POINT (2600040.1 1200000.5)\",2\n";

struct dir {
    std::string d = scratch_dir();
    dir() { write_file(d + "/objekte.csv", objects); }
    orv::test::run_result run(const std::string& reg, std::vector<std::string> more) const {
        write_file(d + "/r.csv", reg);
        std::vector<std::string> a = {"inventory",        d + "/r.csv", "--objects",
                                      d + "/objekte.csv", "--crs",      "EPSG:2056"};
        a.insert(a.end(), more.begin(), more.end());
        return run_orvalis(a);
    }
};

const auto fields = [](const std::string& l) { return orv::test::csv_fields(l); };
const auto lines = orv::test::text_lines;

TEST(InventoryRegister, RowsAndHeadersAsUsersBringThem) {
    const std::string bom = "\xEF\xBB\xBF";
    struct row_case {
        const char* name;
        std::string reg;
        int code;
        const char* err; // in the message, "" for none
    } cases[] = {
        {"short row", header + "\n2600040,1200000,3\n" + good, 3,
         "Zeile 2, Anlage 1: Spalte 4 (B) fehlt (Zeile hat 3 Felder, erwartet 8)"},
        {"long row", header + "\n" + good + "2600080,1200000,3,5,2000,4,0.1,9,7,\"8,9\"\n", 3,
         "Zeile 3, Anlage 2: 2 Felder zu viel (Zeile hat 10 Felder, erwartet 8): 7,\"8,9\""},
        {"byte-order mark", bom + header + "\n" + good, 0, ""},
        {"UTF-16",
         "\xFF\xFE"
         "E\0,\0N\0",
         1, "r.csv: in UTF-16 kodiert"},
        {"near miss", "e,N,H,b,Vol,S,D,azimuth\n" + good, 1,
         "B fehlt: weder Spalte B noch Option -B; Spalte 1 (e): gemeint ist E?; Spalte 4 (b): "
         "gemeint ist B?"},
    };
    const dir d;
    for (const row_case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = d.run(c.reg, {"-o", "-", "--keep-going"});
        EXPECT_EQ(r.code(), c.code) << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        if (c.code == 1) {
            EXPECT_EQ(r.out, "");
            continue;
        }
        // Every output row has the header's fields, orv_row right after
        // the register's own.
        const auto out = lines(r.out);
        ASSERT_GE(out.size(), 2u);
        for (std::size_t k = 1; k < out.size(); ++k) {
            const auto f = fields(out[k]);
            ASSERT_EQ(f.size(), fields(out[0]).size()) << out[k];
            EXPECT_EQ(f[8], std::to_string(k)) << out[k];
        }
        EXPECT_EQ(r.out.starts_with(bom), c.reg.starts_with(bom));
    }
}

// Every feature of the first layer of a vector file: its fields by name
// ("NULL" for a null) and its geometry as WKT under "geometry".
std::vector<std::map<std::string, std::string>> features(const std::string& path) {
    std::vector<std::map<std::string, std::string>> v;
    GDALAllRegister();
    GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR);
    if (!ds) return v;
    OGRLayer* l = ds->GetLayer(0);
    while (OGRFeature* f = l->GetNextFeature()) {
        auto& m = v.emplace_back();
        for (int k = 0; k < f->GetFieldCount(); ++k)
            m[f->GetFieldDefnRef(k)->GetNameRef()] =
                f->IsFieldSetAndNotNull(k) ? f->GetFieldAsString(k) : "NULL";
        if (const OGRGeometry* g = f->GetGeometryRef()) m["geometry"] = g->exportToWkt();
        OGRFeature::DestroyFeature(f);
    }
    GDALClose(ds);
    return v;
}

TEST(InventoryRegister, ItsOwnOutputAsRegisterGetsItsColumnsAnew) {
    const dir d;
    const auto first = d.run(header + "\n" + good, {"-o", d.d + "/a.csv"});
    ASSERT_EQ(first.code(), 0) << first.err;
    const std::string once = read_file(d.d + "/a.csv");
    for (const char* out : {"-", "b.gpkg"}) {
        SCOPED_TRACE(out);
        const auto r = d.run(once, {"-o", out == std::string("-") ? "-" : d.d + "/" + out});
        ASSERT_EQ(r.code(), 0) << r.err;
        if (out == std::string("-")) {
            EXPECT_EQ(r.out, once);
            continue;
        }
        const auto f = features(d.d + "/" + out);
        ASSERT_EQ(f.size(), 1u);
        EXPECT_EQ(f[0].size(), fields(lines(once)[0]).size() + 1); // and the geometry
    }
}

TEST(InventoryRegister, WhatWasNotComputedIsEmptyNeverZero) {
    const dir d;
    write_file(d.d + "/kaputt.csv",
               "id,WKT\n1,\"POLYGON ((2600100 1199990,2600110 1199990,2600100 1199990)\"\n");
    // A dam, a row with an error whose point is fine, a dam too small for
    // level 3 at the first one's place (the object below the breach is open
    // for both).
    const std::string reg = header + "\n" + good + "2600120,1200000,3,-4,2000,4,0.1,9\n" +
                            "2600040,1200000,1,2,50,1,0.1,9\n";
    const auto r = d.run(reg, {"--objects", d.d + "/kaputt.csv", "--keep-going", "-o",
                               d.d + "/x.gpkg", "--objects-out", d.d + "/o.gpkg"});
    ASSERT_EQ(r.code(), 3) << r.err;
    const auto dams = features(d.d + "/x.gpkg");
    ASSERT_EQ(dams.size(), 3u);
    EXPECT_EQ(dams[1].at("geometry"), "POINT (2600120 1200000)");
    EXPECT_NE(dams[1].at("orv_error"), "NULL");
    EXPECT_EQ(dams[1].at("orv_area1"), "NULL");
    EXPECT_EQ(dams[2].at("orv_area3"), "NULL");
    EXPECT_NE(dams[2].at("orv_area1"), "NULL");

    // The objects: as each output that carries a level gives them.
    const auto objs = features(d.d + "/o.gpkg");
    ASSERT_EQ(objs.size(), 2u);
    struct object_case {
        std::size_t k;
        const char *level, *state, *open, *why;
    } want[] = {
        {0, "2", "full", "0", "NULL"},
        {1, "NULL", "none", "2",
         "Anlage 1: nahe der Bresche (Status 1), wo die Zone Stufe 1 oder "
         "h\u00f6her erreicht"},
    };
    for (const object_case& c : want) {
        SCOPED_TRACE(c.k);
        EXPECT_EQ(objs[c.k].at("orv_level"), c.level);
        EXPECT_EQ(objs[c.k].at("orv_state"), c.state);
        EXPECT_EQ(objs[c.k].at("orv_open"), c.open);
        EXPECT_EQ(objs[c.k].at("orv_why"), c.why);
        if (c.level == std::string("NULL")) {
            EXPECT_EQ(objs[c.k].at("orv_h"), "NULL");
        }
    }
    // The unreadable object (second layer) is open for both computed dams.
    GDALAllRegister();
    GDALDataset* ds = GDALDataset::Open((d.d + "/o.gpkg").c_str(), GDAL_OF_VECTOR);
    ASSERT_NE(ds, nullptr);
    OGRFeature* f = ds->GetLayerByName("kaputt")->GetNextFeature();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->GetFieldAsInteger64("orv_open"), 2);
    EXPECT_STREQ(f->GetFieldAsString("orv_why"), "Geometrie nicht lesbar");
    EXPECT_FALSE(f->IsFieldSetAndNotNull(f->GetFieldIndex("orv_level")));
    OGRFeature::DestroyFeature(f);
    GDALClose(ds);

    // assess -o says the same of the open object for the first dam alone.
    const auto a = run_orvalis({"assess",    d.d + "/objekte.csv",
                                "-H",        "3",
                                "-B",        "5",
                                "--vol",     "2000",
                                "-S",        "4",
                                "-D",        "0.1",
                                "--origin",  "2600040,1200000",
                                "--azimuth", "9",
                                "--crs",     "EPSG:2056",
                                "-o",        d.d + "/a.gpkg"});
    ASSERT_EQ(a.code(), 0) << a.err;
    const auto judged = features(d.d + "/a.gpkg");
    ASSERT_EQ(judged.size(), 2u);
    EXPECT_EQ(judged[0].at("orv_open"), "0");
    EXPECT_EQ(judged[0].at("orv_why"), "NULL");
    EXPECT_EQ(judged[1].at("orv_open"), "1");
    EXPECT_EQ(judged[1].at("orv_why"), want[1].why + std::string("Anlage 1: ").size());
}

} // namespace
