// orvalis inventory end to end: a register with values from columns,
// options and mapped names, a slope outside the tables and a bad row; each
// dam's figures against orvalis map and its counts against orvalis assess
// for that dam alone; shards, threads, outputs and refusals.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include "support/command.h"
#include "support/csv_text.h"

namespace {

using orv::test::read_file;
using orv::test::run_orvalis;
using orv::test::run_program;
using orv::test::scratch_dir;
using orv::test::write_file;

// Objects around the dams: points, 50 m lines and small polygons.
std::string objects_csv() {
    std::mt19937_64 rnd(3);
    std::uniform_real_distribution<double> u(0, 1);
    std::string s = "WKT,id\n";
    for (int k = 0; k < 1500; ++k) {
        const double e = 2600000 + 3000 * u(rnd), n = 1200000 + 3000 * u(rnd);
        char b[200];
        if (k % 3 == 0)
            std::snprintf(b, sizeof b, "\"POINT (%.2f %.2f)\",%d\n", e, n, k);
        else if (k % 3 == 1)
            std::snprintf(b, sizeof b, "\"LINESTRING (%.2f %.2f,%.2f %.2f)\",%d\n", e, n, e + 40,
                          n + 30, k);
        else
            std::snprintf(b, sizeof b,
                          "\"POLYGON ((%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f))\",%d\n", e, n,
                          e + 10, n, e + 10, n + 15, e, n, k);
        s += b;
    }
    return s;
}

// The register: H from the column "stau" (--field), the column H ignored;
// Vol and D from the options; Azimuth in another case; a slope outside the
// tables (row 3), a bad value (row 4), an empty line, CR LF ends, a quoted id.
const std::string reg = "id,E,N,stau,B,S,Azimuth,H\r\n"
                        "a1,2601000,1201000,8,20,6,120,x\r\n"
                        "a2,2601500,1201800,4.5,12,3,200.5,x\n"
                        "a3,2602000,1200500,8,20,30,45,x\n"
                        "\n"
                        "a4,2600500,1202000,abc,20,6,10,x\n"
                        "\"a,5\",2602500,1202500,12,25,9,300,x\n";
const std::vector<std::string> values = {"--vol",  "60000", "-D",        "0.1",  "--field",
                                         "H=stau", "--crs", "EPSG:2056", "--id", "id"};

struct fixture {
    std::string dir = scratch_dir();
    fixture() {
        write_file(dir + "/objekte.csv", objects_csv());
        write_file(dir + "/anlagen.csv", reg);
    }
    // Runs inventory on the register with the usual values plus args.
    orv::test::run_result run(std::vector<std::string> args, const std::string& out) const {
        std::vector<std::string> a = {"inventory", dir + "/anlagen.csv",
                                      "--objects", dir + "/objekte.csv",
                                      "-o",        dir + "/" + out};
        a.insert(a.end(), values.begin(), values.end());
        a.insert(a.end(), args.begin(), args.end());
        return run_orvalis(a);
    }
};

const fixture& data() {
    static const fixture f;
    return f;
}

const auto lines = orv::test::text_lines;

// The last n comma-separated fields of a line, quotes removed (a message
// with commas is quoted, as is an id).
std::vector<std::string> tail_fields(const std::string& line, std::size_t n) {
    const std::vector<std::string> f = orv::test::csv_fields(line);
    return std::vector<std::string>(f.end() - static_cast<std::ptrdiff_t>(std::min(n, f.size())),
                                    f.end());
}

// A value of a flat JSON text: the number after "key": at its occurrence k.
std::string json_at(const std::string& j, const std::string& key, int k = 0) {
    std::size_t p = 0;
    for (int i = 0; i <= k; ++i) p = j.find("\"" + key + "\": ", p) + key.size() + 4;
    return j.substr(p, j.find_first_of(",}\n", p) - p);
}

TEST(Inventory, EachDamEqualsMapAndAssessForItAlone) {
    const fixture& f = data();
    const auto r = f.run({"--keep-going"}, "ergebnis.csv");
    ASSERT_EQ(r.code(), 3) << r.err;
    const std::string out = read_file(f.dir + "/ergebnis.csv");
    const std::vector<std::string> in = lines(reg), got = lines(out);
    ASSERT_EQ(got.size(), in.size());
    // Each line begins with its input bytes, the new fields before its own line end.
    for (std::size_t k = 0; k < in.size(); ++k) {
        const std::string body = in[k].substr(0, in[k].size() - (in[k].ends_with('\r') ? 1 : 0));
        EXPECT_TRUE(got[k].starts_with(body)) << got[k];
        EXPECT_EQ(got[k].ends_with('\r'), in[k].ends_with('\r')) << k;
    }
    EXPECT_EQ(got[4], "");
    EXPECT_NE(tail_fields(got[3], 2)[0].find("Gefaelle zu gross"), std::string::npos) << got[3];
    EXPECT_NE(tail_fields(got[5], 2)[0].find("Spalte 4 (stau): keine Zahl: abc"), std::string::npos)
        << got[5];
    EXPECT_NE(r.err.find("5 Anlagen: ja"), std::string::npos) << r.err;

    // Computed dams: line, H, B, S, azimuth, E, N.
    struct dam {
        int line;
        const char *h, *b, *s, *az, *e, *n;
    };
    for (const dam& d : {dam{1, "8", "20", "6", "120", "2601000", "1201000"},
                         dam{2, "4.5", "12", "3", "200.5", "2601500", "1201800"},
                         dam{6, "12", "25", "9", "300", "2602500", "1202500"}}) {
        const std::vector<std::string> site = {"-H",    d.h,  "-B", d.b,  "--vol",
                                               "60000", "-S", d.s,  "-D", "0.1"};
        std::vector<std::string> m = {"map", "--cell", "2", "--json"};
        m.insert(m.end(), site.begin(), site.end());
        const auto mj = run_orvalis(m);
        ASSERT_EQ(mj.code(), 0) << mj.err;
        std::vector<std::string> a = {
            "assess",   f.dir + "/objekte.csv",       "--crs",     "EPSG:2056",
            "--origin", std::string(d.e) + "," + d.n, "--azimuth", d.az,
            "--json"};
        a.insert(a.end(), site.begin(), site.end());
        const auto aj = run_orvalis(a);
        ASSERT_EQ(aj.code(), 0) << aj.err;
        const std::vector<std::string> v = tail_fields(got[d.line], 19);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(v[1 + k], json_at(mj.out, "reach", k)) << d.line;
            EXPECT_EQ(v[4 + k], json_at(mj.out, "half_width", k)) << d.line;
            EXPECT_EQ(v[7 + k], json_at(mj.out, "area", k)) << d.line;
        }
        const std::string levels =
            aj.out.substr(aj.out.find("\"levels\": [", aj.out.find("\"layers\"")));
        EXPECT_EQ(v[11] + ", " + v[12] + ", " + v[13] + ", " + v[14],
                  levels.substr(11, levels.find(']') - 11))
            << d.line;
        EXPECT_EQ("\"" + v[16] + "\"", json_at(aj.out, "verdict")) << d.line;
        EXPECT_EQ(v[17], "") << d.line;
        // orv_names: as many objects as the levels from 1 on count, at most 500 bytes.
        EXPECT_EQ(v[18].empty(), v[12] == "0" && v[13] == "0" && v[14] == "0") << d.line;
        EXPECT_LE(v[18].size(), 500u) << d.line;
    }
}

TEST(Inventory, ShardsMergeToTheWholeRunAndThreadsKeepTheOrder) {
    const fixture& f = data();
    const auto one = f.run({"--keep-going", "--correct", "--threads", "1"}, "eins.csv");
    const auto many = f.run({"--keep-going", "--correct", "--threads", "3"}, "viele.csv");
    ASSERT_EQ(one.code(), 3) << one.err;
    ASSERT_EQ(many.code(), 3) << many.err;
    const std::string whole = read_file(f.dir + "/eins.csv");
    EXPECT_EQ(read_file(f.dir + "/viele.csv"), whole);
    std::vector<std::string> merged;
    for (const char* k : {"1/3", "2/3", "3/3"}) {
        const std::string name = std::string("teil") + k[0] + ".csv";
        const auto r = f.run({"--keep-going", "--correct", "--shard", k}, name);
        ASSERT_LE(r.code(), 3) << r.err;
        const auto l = lines(read_file(f.dir + "/" + name));
        merged.insert(merged.end(), l.begin() + 1, l.end());
    }
    auto row = [](const std::string& l) { return std::stoi(tail_fields(l, 19)[0]); };
    std::sort(merged.begin(), merged.end(),
              [&](const std::string& a, const std::string& b) { return row(a) < row(b); });
    std::vector<std::string> expect = lines(whole);
    expect.erase(expect.begin());
    expect.erase(std::remove(expect.begin(), expect.end(), ""), expect.end());
    EXPECT_EQ(merged, expect);
}

TEST(Inventory, RefusalsLeaveNoOutput) {
    const fixture& f = data();
    struct refusal {
        std::vector<std::string> args;
        int code;
        const char* says;
    };
    const std::vector<refusal> cases = {
        {{}, 1, "anlagen.csv, Zeile 4, Anlage a3: Gefaelle zu gross"},
        {{"--correct"}, 1, "Zeile 6, Anlage a4: Spalte 4 (stau): keine Zahl: abc"},
        // A column and an option for one value: the whole run, even with --keep-going.
        {{"--keep-going", "-B", "20"}, 1, "Spalte 5 (B) und Option -B geben beide B an"},
        {{"--field", "S=gefaelle"}, 1, "Spalte gefaelle (--field S) fehlt"},
        {{"--shard", "0/3"}, 2, "--shard"},
        {{"--shard", "4/3"}, 2, "--shard"},
    };
    for (const refusal& c : cases) {
        const auto r = f.run(c.args, "nie.csv");
        EXPECT_EQ(r.code(), c.code) << c.says << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(std::ifstream(f.dir + "/nie.csv").good()) << c.says;
    }
    // With the options preferred, the column B is ignored.
    EXPECT_EQ(
        f.run({"--keep-going", "--correct", "-B", "20", "--prefer", "options"}, "b.csv").code(), 3);
}

TEST(Inventory, CsvRegisterAsGeoPackageKeepsItsTextsAndPoints) {
    const fixture& f = data();
    const auto r = f.run({"--keep-going", "--correct"}, "ergebnis.gpkg");
    ASSERT_EQ(r.code(), 3) << r.err;
    GDALAllRegister();
    GDALDataset* ds = GDALDataset::Open((f.dir + "/ergebnis.gpkg").c_str(), GDAL_OF_VECTOR);
    ASSERT_NE(ds, nullptr);
    OGRLayer* l = ds->GetLayer(0);
    EXPECT_EQ(l->GetFeatureCount(), 5);
    l->ResetReading();
    OGRFeature* last = nullptr;
    for (OGRFeature* g; (g = l->GetNextFeature());) {
        OGRFeature::DestroyFeature(last);
        last = g;
    }
    ASSERT_NE(last, nullptr);
    EXPECT_STREQ(last->GetFieldAsString("id"), "a,5");
    EXPECT_STREQ(last->GetFieldAsString("Azimuth"), "300");
    EXPECT_EQ(last->GetFieldAsInteger64("orv_row"), 5);
    EXPECT_EQ(last->GetFieldDefnRef(last->GetFieldIndex("orv_area1"))->GetType(), OFTReal);
    EXPECT_EQ(last->GetGeometryRef()->exportToWkt(), "POINT (2602500 1202500)");
    OGRFeature::DestroyFeature(last);
    GDALClose(ds);
}

TEST(Inventory, ObjectsOutHoldTheHighestLevelAndTheFirstDamOnATie) {
    const fixture& f = data();
    // Two dams alike: every object's level is that dam's, and the tie goes to the first.
    const std::string row = "2601000,1201000,8,20,60000,6,0.1,120\n";
    write_file(f.dir + "/zwei.csv", "id,E,N,H,B,Vol,S,D,azimuth\nerst," + row + "zweit," + row);
    const auto r = run_orvalis({"inventory", f.dir + "/zwei.csv", "--objects",
                                f.dir + "/objekte.csv", "--crs", "EPSG:2056", "--id", "id", "-o",
                                f.dir + "/zwei_out.csv", "--objects-out", f.dir + "/max.gpkg"});
    ASSERT_EQ(r.code(), 0) << r.err;
    const std::vector<std::string> v =
        tail_fields(lines(read_file(f.dir + "/zwei_out.csv"))[1], 19);
    GDALAllRegister();
    GDALDataset* ds = GDALDataset::Open((f.dir + "/max.gpkg").c_str(), GDAL_OF_VECTOR);
    ASSERT_NE(ds, nullptr);
    std::uint64_t levels[4] = {};
    std::uint64_t features = 0;
    for (auto& g : *ds->GetLayer(0)) {
        ++features;
        if (!g->IsFieldSetAndNotNull(g->GetFieldIndex("orv_level"))) continue;
        ++levels[g->GetFieldAsInteger("orv_level")];
        EXPECT_STREQ(g->GetFieldAsString("orv_dam"), "erst");
        EXPECT_EQ(g->GetFieldAsInteger64("orv_fid"), g->GetFID());
    }
    GDALClose(ds);
    EXPECT_EQ(features, 1500u);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(std::to_string(levels[k]), v[11 + k]) << k;
}

// The features of a zones layer (of one dam when row > 0) as text: kind,
// level, area and shape, in order.
std::vector<std::string> zone_texts(const std::string& path, long row = 0) {
    GDALAllRegister();
    GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR);
    std::vector<std::string> z;
    if (!ds) return z;
    for (auto& g : *ds->GetLayerByName("zonen")) {
        if (row > 0 && g->GetFieldAsInteger64("orv_row") != row) continue;
        // One call at a time: GDAL reuses the buffer of a field's text.
        std::string t = g->GetFieldAsString("kind");
        t += std::string(" ") + g->GetFieldAsString("level");
        t += std::string(" ") + g->GetFieldAsString("area_m2");
        z.push_back(t + " " + g->GetGeometryRef()->exportToWkt());
    }
    GDALClose(ds);
    return z;
}

// The site options of a register row "E,N,H,B,Vol,S,D,azimuth" as one dam
// alone takes them, in EPSG:2056 with the inventory's 2 m cells.
std::vector<std::string> site_options(const std::string& row) {
    const std::vector<std::string> v = orv::test::csv_fields(row);
    return {"-H",    v[2], "-B",        v[3], "--vol", v[4],        "-S",     v[5],
            "-D",    v[6], "--origin",  v[0] + "," + v[1], "--azimuth", v[7], "--crs",
            "EPSG:2056", "--cell", "2"};
}

// A report without what tells two runs apart: the command line and the
// numbers the drawing library gives its pictures within one process.
std::string comparable(const std::string& html) {
    std::string out;
    for (std::size_t k = 0; k < html.size();) {
        if (html.compare(k, 8, "orvalis ") == 0 && (html.compare(k + 8, 7, "report ") == 0 ||
                                                    html.compare(k + 8, 10, "inventory ") == 0)) {
            out += "CMD";
            k = html.find('<', k);
            continue;
        }
        out += html[k++];
        if (out.ends_with("surface") || out.ends_with("image")) {
            while (k < html.size() && std::isdigit(static_cast<unsigned char>(html[k]))) ++k;
        }
    }
    return out;
}

// A grey GeoTIFF in EPSG:2056 of 4 km by 4 km from (e, n) up and right.
void write_background(const std::string& path, double e, double n) {
    GDALAllRegister();
    GDALDriver* d = GetGDALDriverManager()->GetDriverByName("GTiff");
    GDALDataset* ds = d->Create(path.c_str(), 40, 40, 1, GDT_Byte, nullptr);
    ASSERT_NE(ds, nullptr);
    double gt[6] = {e, 100, 0, n + 4000, 0, -100};
    ds->SetGeoTransform(gt);
    OGRSpatialReference srs;
    srs.importFromEPSG(2056);
    ds->SetSpatialRef(&srs);
    std::vector<std::uint8_t> px(40 * 40);
    for (std::size_t k = 0; k < px.size(); ++k) px[k] = static_cast<std::uint8_t>(k * 7);
    ASSERT_EQ(ds->GetRasterBand(1)->RasterIO(GF_Write, 0, 0, 40, 40, px.data(), 40, 40, GDT_Byte, 0,
                                             0, nullptr),
              CE_None);
    GDALClose(ds);
}

TEST(Inventory, ZonesAndReportsEqualMapAndReportForEachDam) {
    const fixture& f = data();
    setenv("SOURCE_DATE_EPOCH", "1800000000", 1);
    write_background(f.dir + "/grund.tif", 2600000, 1200000);
    // Names from ids: a slash, a second dam of the same id, a leading dot;
    // the bad row gets neither zones nor a report.
    const char* sites[] = {"2601000,1201000,8,20,60000,6,0.1,120",
                           "2602500,1202500,12,25,60000,9,0.1,300"};
    write_file(f.dir + "/namen.csv", std::string("id,E,N,H,B,Vol,S,D,azimuth\n") + "x/1," +
                                         sites[0] + "\nx/1," + sites[1] + "\n.y," + sites[0] +
                                         "\nz,1,1,abc,20,60000,6,0.1,0\n");
    // The reports as they come, and named by label with a title, an author
    // and a background: each equal to orvalis report with the same options.
    struct look {
        std::vector<std::string> options;
        std::string title;
    };
    const std::vector<look> looks = {
        {{}, "Gefahrenbeurteilung"},
        {{"--label", "id", "--title", "Pruefung Weiher", "--author", "A. Muster", "--background",
          f.dir + "/grund.tif", "--opacity", "0.4"},
         "Pruefung Weiher"},
    };
    for (const look& l : looks) {
        SCOPED_TRACE(l.title);
        std::filesystem::remove_all(f.dir + "/berichte");
        mkdir((f.dir + "/berichte").c_str(), 0755);
        write_file(f.dir + "/berichte/alt.txt", "bleibt");
        std::vector<std::string> inv = {"inventory",
                                        f.dir + "/namen.csv",
                                        "--objects",
                                        f.dir + "/objekte.csv",
                                        "--crs",
                                        "EPSG:2056",
                                        "--id",
                                        "id",
                                        "-o",
                                        f.dir + "/namen_out.csv",
                                        "--zones",
                                        f.dir + "/zonen.gpkg",
                                        "--reports",
                                        f.dir + "/berichte",
                                        "--report-format",
                                        "html",
                                        "--keep-going"};
        inv.insert(inv.end(), l.options.begin(), l.options.end());
        const auto r = run_orvalis(inv);
        ASSERT_EQ(r.code(), 3) << r.err;
        std::vector<std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(f.dir + "/berichte"))
            files.push_back(e.path().filename());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files,
                  (std::vector<std::string>{"_y.html", "alt.txt", "x_1.html", "x_1_2.html"}));
        EXPECT_EQ(zone_texts(f.dir + "/zonen.gpkg", 4), std::vector<std::string>{});

        const char* reports[] = {"x_1.html", "x_1_2.html"};
        for (int k = 0; k < 2; ++k) {
            const std::vector<std::string> site = site_options(sites[k]);
            std::vector<std::string> m = {"map", "--zones", f.dir + "/allein.gpkg"};
            m.insert(m.end(), site.begin(), site.end());
            ASSERT_EQ(run_orvalis(m).code(), 0);
            const auto alone = zone_texts(f.dir + "/allein.gpkg");
            EXPECT_EQ(alone.size(), 5u);
            EXPECT_EQ(zone_texts(f.dir + "/zonen.gpkg", k + 1), alone) << k;

            std::vector<std::string> rep = {"report",  f.dir + "/objekte.csv",
                                            "--title", l.title + " Anlage x/1",
                                            "-o",      f.dir + "/allein.html"};
            rep.insert(rep.end(), site.begin(), site.end());
            for (std::size_t o = 0; o < l.options.size(); o += 2)
                if (l.options[o] != "--title")
                    rep.insert(rep.end(), {l.options[o], l.options[o + 1]});
            const auto rr = run_orvalis(rep);
            ASSERT_EQ(rr.code(), 0) << rr.err;
            const std::string got = read_file(f.dir + "/berichte/" + reports[k]);
            EXPECT_EQ(comparable(got), comparable(read_file(f.dir + "/allein.html"))) << k;
        }
    }
    unsetenv("SOURCE_DATE_EPOCH");
    // A failed run leaves neither zones nor reports.
    const auto bad =
        run_orvalis({"inventory", f.dir + "/namen.csv", "--objects", f.dir + "/objekte.csv",
                     "--crs", "EPSG:2056", "-o", f.dir + "/nie.csv", "--zones", f.dir + "/nie.gpkg",
                     "--reports", f.dir + "/nie"});
    EXPECT_EQ(bad.code(), 1);
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/nie.gpkg"));
    EXPECT_FALSE(std::filesystem::exists(f.dir + "/nie"));
}

// The objects of the fixture and more around them out to 40 km: beside the
// zones, beyond the tables and upstream of both dams, as points and
// polygons; one without a geometry and, where asked, one unreadable.
std::string far_objects_csv(bool unreadable) {
    std::string s = objects_csv();
    int id = 5000;
    for (const double d : {1500.0, 10000.0, 25000.0, 40000.0}) {
        for (int k = 0; k < 24; ++k) {
            const double a = k * M_PI / 12;
            const double e = 2601500 + d * std::sin(a), n = 1201500 + d * std::cos(a);
            char b[200];
            if (k % 2 == 0)
                std::snprintf(b, sizeof b, "\"POINT (%.2f %.2f)\",%d\n", e, n, id++);
            else
                std::snprintf(b, sizeof b, "\"POLYGON ((%.2f %.2f,%.2f %.2f,%.2f %.2f,%.2f %.2f))\",%d\n",
                              e, n, e + 30, n, e + 30, n + 20, e, n, id++);
            s += b;
        }
    }
    s += "\"\",ohne\n";
    if (unreadable) s += "\"POINT (2601000\",kaputt\n";
    return s;
}

TEST(Inventory, ReportsWithObjectsFarOffEqualReportForEachDam) {
    const fixture& f = data();
    setenv("SOURCE_DATE_EPOCH", "1800000000", 1);
    const char* sites[] = {"2601000,1201000,8,20,60000,6,0.1,120",
                           "2602500,1202500,12,25,60000,9,0.1,300"};
    write_file(f.dir + "/weit_reg.csv", std::string("id,E,N,H,B,Vol,S,D,azimuth\n") + "w1," +
                                            sites[0] + "\nw2," + sites[1] + "\n");
    // Each case: objects with or without an unreadable one, the format, and
    // options both commands take.
    struct look {
        bool unreadable;
        std::string format;
        std::vector<std::string> options;
    };
    const std::vector<look> looks = {
        {false, "html", {}},
        {true, "html", {"--label", "id"}},
        {false, "pdf", {"--label", "id"}},
        {true, "pdf", {"--from", "2"}},
    };
    for (const look& l : looks) {
        SCOPED_TRACE(l.format + (l.unreadable ? " unreadable" : "") + " " +
                     (l.options.empty() ? "" : l.options[0] + " " + l.options[1]));
        write_file(f.dir + "/weit.csv", far_objects_csv(l.unreadable));
        std::filesystem::remove_all(f.dir + "/weit_ber");
        std::vector<std::string> inv = {"inventory",     f.dir + "/weit_reg.csv",
                                        "--objects",     f.dir + "/weit.csv",
                                        "--crs",         "EPSG:2056",
                                        "--id",          "id",
                                        "-o",            f.dir + "/weit_out.csv",
                                        "--reports",     f.dir + "/weit_ber",
                                        "--report-format", l.format};
        if (l.unreadable) inv.push_back("--keep-going");
        inv.insert(inv.end(), l.options.begin(), l.options.end());
        const auto r = run_orvalis(inv);
        ASSERT_EQ(r.code(), l.unreadable ? 3 : 0) << r.err;
        for (int k = 0; k < 2; ++k) {
            const std::string id = k == 0 ? "w1" : "w2";
            const std::string alone = f.dir + "/weit_allein." + l.format;
            std::vector<std::string> rep = {"report", f.dir + "/weit.csv"};
            const std::vector<std::string> site = site_options(sites[k]);
            rep.insert(rep.end(), site.begin(), site.end());
            for (const std::string& o : {std::string("--title"), "Gefahrenbeurteilung Anlage " + id,
                                         std::string("-o"), alone})
                rep.push_back(o);
            if (l.unreadable) rep.push_back("--keep-going");
            rep.insert(rep.end(), l.options.begin(), l.options.end());
            const auto rr = run_orvalis(rep);
            ASSERT_EQ(rr.code(), l.unreadable ? 3 : 0) << rr.err;
            const std::string mine = f.dir + "/weit_ber/" + id + "." + l.format;
            if (l.format == "html") {
                EXPECT_EQ(comparable(read_file(mine)), comparable(read_file(alone))) << id;
                continue;
            }
            // The PDF's text without its last page's command line.
            auto text = [](const std::string& path) {
                std::string t =
                    run_program("/usr/bin/pdftotext", {"pdftotext", path, "-"}).out;
                return comparable(t);
            };
            const std::string a = text(mine), b = text(alone);
            EXPECT_NE(a.find("Nicht beurteilbare Objekte"), std::string::npos);
            EXPECT_EQ(a.substr(0, a.find("CMD")), b.substr(0, b.find("CMD"))) << id;
        }
    }
    unsetenv("SOURCE_DATE_EPOCH");
}

TEST(Inventory, ProgressOnlyOnATerminal) {
    const fixture& f = data();
    // Enough large dams on one thread to run past the first redraw.
    std::string big = "E,N,H,B,Vol,S,D,azimuth\n";
    for (int k = 0; k < 16; ++k) big += "2601000,1201000,15,30,1000000,6,0.1,120\n";
    write_file(f.dir + "/gross.csv", big);
    const std::string cmd = std::string(ORVALIS_BINARY) + " inventory " + f.dir +
                            "/gross.csv --objects " + f.dir +
                            "/objekte.csv --crs EPSG:2056 "
                            "--threads 1 -o " +
                            f.dir + "/gross_out.csv";
    const auto tty = run_program("/usr/bin/script",
                                 {"script", "-qec", "ORV_TEST_PROGRESS_MS=1 " + cmd, "/dev/null"});
    EXPECT_NE(tty.out.find("Anlagen, "), std::string::npos) << tty.out;
    EXPECT_NE(tty.out.find('\r'), std::string::npos);
    const auto pipe = run_program("/bin/sh", {"sh", "-c", cmd});
    EXPECT_EQ(pipe.code(), 0) << pipe.err;
    EXPECT_EQ(pipe.err, "orvalis inventory: 16 Anlagen: ja 16, nein 0, offen 0; Fehler 0; 1500 "
                        "Objekte\n");
}

} // namespace
