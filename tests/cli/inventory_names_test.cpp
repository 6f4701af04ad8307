// orvalis inventory naming whom a dam endangers: orv_names worst first as
// the dam's report lists its objects and cut at 500 bytes, --label in the
// objects written back, and the register's columns typed in a GeoPackage.
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include "support/command.h"
#include "support/csv_text.h"

namespace {

using orv::test::csv_fields;
using orv::test::read_file;
using orv::test::run_orvalis;
using orv::test::scratch_dir;
using orv::test::write_file;

// The data rows of a CSV output by column name.
std::vector<std::map<std::string, std::string>> rows(const std::string& csv) {
    std::vector<std::map<std::string, std::string>> out;
    std::vector<std::string> head;
    for (std::size_t at = 0; at < csv.size();) {
        const auto nl = std::min(csv.find('\n', at), csv.size());
        const auto f = csv_fields(csv.substr(at, nl - at));
        at = nl + 1;
        if (head.empty()) {
            head = f;
            continue;
        }
        auto& m = out.emplace_back();
        for (std::size_t k = 0; k < f.size() && k < head.size(); ++k) m[head[k]] = f[k];
    }
    return out;
}

// The object table of an HTML report: each row's object ("layer: label") and level.
std::vector<std::pair<std::string, int>> report_objects(const std::string& html) {
    std::vector<std::pair<std::string, int>> v;
    std::size_t at = html.find("Objekte ab Stufe 1");
    const std::size_t end = html.find("</table>", at);
    if (at == std::string::npos || end == std::string::npos) return v;
    while ((at = html.find("<tr><td>", at)) < end) {
        at += 8;
        const auto close = html.find("</td><td>", at);
        const std::string object = html.substr(at, close - at);
        v.emplace_back(object, std::stoi(html.substr(close + 9)));
    }
    return v;
}

// Objects along the jet of a dam at 2600040, 1200000 pointing east, named
// with umlauts and long enough that not all names fit; the last one with
// an empty name, which stays empty as in the report.
const std::string objects = [] {
    std::string s = "WKT,name\n";
    for (int k = 0; k < 60; ++k) {
        char b[160];
        std::snprintf(b, sizeof b, "\"POINT (%d %d)\",Gew\u00e4chshaus \u00d6kohof Nr. %02d\n",
                      2600070 + 9 * k, 1200000 + (k % 5) * 4, k);
        s += b;
    }
    return s + "\"POINT (2600300 1200000)\",\n";
}();
const std::string dam = "id,E,N,H,B,Vol,S,D,azimuth\nd1,2600040,1200000,8,20,60000,6,0.1,90\n";

TEST(InventoryNames, WorstFirstAsTheReportListsThemAndCutAt500Bytes) {
    const std::string d = scratch_dir();
    write_file(d + "/o.csv", objects);
    write_file(d + "/r.csv", dam);
    for (const char* from : {"1", "2", "3"}) {
        SCOPED_TRACE(from);
        const std::string reports = d + "/berichte" + from;
        const auto r =
            run_orvalis({"inventory", d + "/r.csv", "--objects", d + "/o.csv", "--crs", "EPSG:2056",
                         "--id", "id", "--label", "name", "--from", from, "-o", d + "/out.csv",
                         "--reports", reports, "--report-format", "html"});
        ASSERT_EQ(r.code(), 0) << r.err;
        const auto out = rows(read_file(d + "/out.csv"));
        ASSERT_EQ(out.size(), 1u);
        const std::string names = out[0].at("orv_names");
        // The report's objects at level --from or above, in its order.
        std::vector<std::string> want;
        for (const auto& [object, level] : report_objects(read_file(reports + "/d1.html")))
            if (level >= std::stoi(from)) want.push_back(object.substr(3)); // without "o: "
        std::uint64_t counted = 0;
        for (int k = std::stoi(from); k <= 3; ++k)
            counted += std::stoull(out[0].at("orv_obj" + std::to_string(k)));
        EXPECT_EQ(want.size(), counted);
        ASSERT_GT(want.size(), 1u);
        ASSERT_LE(names.size(), 500u);
        // Whole names in the report's order, then how many were left out.
        std::size_t kept = 0, at = 0;
        for (; kept < want.size() && names.compare(at, want[kept].size(), want[kept]) == 0;
             ++kept) {
            at += want[kept].size();
            if (names.compare(at, 2, "; ") != 0) {
                ++kept;
                break;
            }
            at += 2;
        }
        const std::string rest =
            kept == want.size() ? "" : " und " + std::to_string(want.size() - kept) + " weitere";
        EXPECT_EQ(names.substr(at), rest) << names;
        if (!rest.empty()) {
            EXPECT_GT(at + 2 + want[kept].size() + rest.size(), 500u);
        }
    }
}

TEST(InventoryNames, ObjectsOutCarryTheLabelOrTheFeatureId) {
    const std::string d = scratch_dir();
    write_file(d + "/o.csv", objects);
    write_file(d + "/r.csv", dam);
    for (const bool label : {true, false}) {
        SCOPED_TRACE(label);
        std::vector<std::string> a = {
            "inventory", d + "/r.csv", "--objects",    d + "/o.csv",    "--crs",
            "EPSG:2056", "-o",         d + "/out.csv", "--objects-out", d + "/objekte.gpkg"};
        if (label) a.insert(a.end(), {"--label", "name"});
        const auto r = run_orvalis(a);
        ASSERT_EQ(r.code(), 0) << r.err;
        GDALAllRegister();
        GDALDataset* ds = GDALDataset::Open((d + "/objekte.gpkg").c_str(), GDAL_OF_VECTOR);
        ASSERT_NE(ds, nullptr);
        int n = 0;
        for (auto& f : *ds->GetLayer(0)) {
            const std::string name = f->GetFieldAsString("name");
            const std::string id = std::to_string(f->GetFID());
            EXPECT_EQ(f->GetFieldAsString("orv_label"), label ? name : id);
            ++n;
        }
        EXPECT_EQ(n, 61);
        GDALClose(ds);
        const auto out = rows(read_file(d + "/out.csv"));
        // Without --label the names are the feature ids.
        const std::string names = out[0].at("orv_names");
        const std::string first = names.substr(0, names.find("; "));
        EXPECT_EQ(first.find_first_not_of("0123456789"), label ? 0 : std::string::npos) << names;
    }
}

TEST(InventoryNames, RefusedLabelsAndPictureOptions) {
    const std::string d = scratch_dir();
    write_file(d + "/o.csv", objects);
    write_file(d + "/r.csv", dam);
    struct refusal {
        std::vector<std::string> args;
        int code;
        const char* says;
    } cases[] = {
        {{"--label", "nosuchfield"}, 1, "Option --label: Feld in keiner Ebene: nosuchfield"},
        {{"--title", "T"}, 2, "brauchen --reports"},
        {{"--background", d + "/fehlt.tif", "--reports", d + "/b"}, 1, "--background "},
        {{"--opacity", "2", "--reports", d + "/b"}, 1, "Option --opacity: Wert von 0 bis 1"},
    };
    for (const refusal& c : cases) {
        std::vector<std::string> a = {"inventory", d + "/r.csv", "--objects", d + "/o.csv",
                                      "--crs",     "EPSG:2056",  "-o",        d + "/nie.csv"};
        a.insert(a.end(), c.args.begin(), c.args.end());
        const auto r = run_orvalis(a);
        EXPECT_EQ(r.code(), c.code) << c.says << ": " << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_FALSE(std::ifstream(d + "/nie.csv").good()) << c.says;
    }
}

// The type of each field of the first layer of path and its values, "NULL" for a null.
struct typed {
    std::map<std::string, OGRFieldType> types;
    std::vector<std::map<std::string, std::string>> values;
};
typed read_typed(const std::string& path) {
    typed t;
    GDALAllRegister();
    GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR);
    if (!ds) return t;
    OGRLayer* l = ds->GetLayer(0);
    OGRFeatureDefn* def = l->GetLayerDefn();
    for (int k = 0; k < def->GetFieldCount(); ++k)
        t.types[def->GetFieldDefn(k)->GetNameRef()] = def->GetFieldDefn(k)->GetType();
    for (auto& f : *l) {
        auto& m = t.values.emplace_back();
        for (int k = 0; k < f->GetFieldCount(); ++k)
            m[def->GetFieldDefn(k)->GetNameRef()] =
                f->IsFieldSetAndNotNull(k) ? f->GetFieldAsString(k) : "NULL";
    }
    GDALClose(ds);
    return t;
}

// A dBASE text field holds 254 bytes: a Shapefile register cuts orv_names
// there at a whole name, as the 500 bytes elsewhere, never inside one.
TEST(InventoryNames, ShapefileRegisterCutsAtWholeNamesWithin254Bytes) {
    const std::string d = scratch_dir();
    write_file(d + "/o.csv", objects);
    write_file(d + "/r.csv", dam);
    std::map<std::string, std::string> names;
    for (const char* ext : {"gpkg", "shp"}) {
        const std::string out = d + "/r_out." + ext;
        const auto r = run_orvalis({"inventory", d + "/r.csv", "--objects", d + "/o.csv", "--crs",
                                    "EPSG:2056", "--label", "name", "-o", out});
        ASSERT_EQ(r.code(), 0) << r.err;
        const typed t = read_typed(out);
        ASSERT_EQ(t.values.size(), 1u);
        names[ext] = t.values[0].at("orv_names");
    }
    const std::string& whole = names["gpkg"];
    const std::string& cut = names["shp"];
    ASSERT_GT(whole.size(), 254u);
    ASSERT_LE(cut.size(), 254u);
    const std::size_t end = cut.rfind(" und ");
    ASSERT_NE(end, std::string::npos) << cut;
    EXPECT_EQ(cut.substr(cut.size() - 8), " weitere") << cut;
    // The names kept are the first of the whole list, each complete.
    EXPECT_EQ(whole.compare(0, end, cut, 0, end), 0) << cut;
    EXPECT_EQ(whole.compare(end, 2, "; "), 0) << cut;
}

TEST(InventoryNames, RegisterColumnsTypedInAGeoPackage) {
    const std::string d = scratch_dir();
    write_file(d + "/o.csv", objects);
    // Semicolons and decimal commas; a column with one word among numbers,
    // codes with leading zeros, an empty column, one with a gap.
    write_file(d + "/r.csv",
               "name;E;N;H;B;Vol;S;D;azimuth;hoehe;code;gross;gemischt;leer;teils\r\n"
               "Weiher A;2600040;1200000;8;20;60000;6;0,1;90;412,5;007;3000000000;12;;4\r\n"
               "\r\n"
               "\"Weiher; B\";2600080;1200000;3;5;2000;4;0,1;9;398;012;-3000000001;x;; \r\n");
    const auto csv = run_orvalis({"inventory", d + "/r.csv", "--objects", d + "/o.csv", "--crs",
                                  "EPSG:2056", "-o", d + "/r_out.csv"});
    ASSERT_EQ(csv.code(), 0) << csv.err;
    for (const char* ext : {"gpkg", "geojson"}) {
        SCOPED_TRACE(ext);
        const std::string out = d + "/r_out." + ext;
        const auto r = run_orvalis({"inventory", d + "/r.csv", "--objects", d + "/o.csv", "--crs",
                                    "EPSG:2056", "--label", "name", "-o", out});
        ASSERT_EQ(r.code(), 0) << r.err;
        const typed t = read_typed(out);
        ASSERT_EQ(t.values.size(), 2u);
        const bool gpkg = ext == std::string("gpkg");
        struct field_case {
            const char* name;
            OGRFieldType type;
            const char *first, *second;
        } want[] = {
            {"name", OFTString, "Weiher A", "Weiher; B"},
            {"E", OFTInteger, "2600040", "2600080"},
            {"H", OFTInteger, "8", "3"},
            {"D", OFTReal, "0.1", "0.1"},
            {"hoehe", OFTReal, "412.5", "398"},
            {"code", OFTString, "007", "012"},
            {"gross", OFTInteger64, "3000000000", "-3000000001"},
            {"gemischt", OFTString, "12", "x"},
            {"leer", OFTString, "NULL", "NULL"},
            {"teils", OFTInteger, "4", "NULL"},
            {"orv_row", OFTInteger64, "1", "2"},
            {"orv_cut", OFTInteger, nullptr, nullptr},
            {"orv_reach1", OFTReal, nullptr, nullptr},
            {"orv_area3", OFTReal, nullptr, nullptr},
            {"orv_obj1", OFTInteger64, nullptr, nullptr},
            {"orv_answer", OFTString, "yes", nullptr},
            {"orv_error", OFTString, "NULL", "NULL"},
            {"orv_names", OFTString, nullptr, nullptr},
        };
        for (const field_case& c : want) {
            SCOPED_TRACE(c.name);
            // GeoJSON leaves out a field that is null in every feature.
            const auto null = [](const char* v) { return v && std::string(v) == "NULL"; };
            if (!gpkg && null(c.first) && null(c.second)) continue;
            ASSERT_TRUE(t.types.count(c.name));
            OGRFieldType type = c.type;
            // GeoJSON reads an integer column back at its narrowest.
            if (!gpkg && type == OFTInteger64 && std::string(c.name) != "gross") type = OFTInteger;
            EXPECT_EQ(t.types.at(c.name), type);
            if (c.first) {
                EXPECT_EQ(t.values[0].at(c.name), c.first);
            }
            if (c.second) {
                EXPECT_EQ(t.values[1].at(c.name), c.second);
            }
        }
        EXPECT_NE(t.values[0].at("orv_names"), "NULL");
    }
}

} // namespace
