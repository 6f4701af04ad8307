// Where the styles go: a row per layer of a GeoPackage's layer_styles, one
// .qml beside a file of another format, none for a CSV; the shape taken
// from a layer's type or, for a layer of any geometry, from its features;
// every document well-formed whatever the label field is called.
#include <filesystem>
#include <string>
#include <vector>

#include <cpl_minixml.h>
#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_api.h>

#include "draw/style.h"
#include "geo/context.h"
#include "style/objects_style.h"
#include "style/register_style.h"
#include "style/store.h"

namespace {

namespace fs = std::filesystem;
using orv::style::shape;

// A fresh folder for one case.
std::string folder(const std::string& name) {
    const fs::path d = fs::temp_directory_path() / ("orv-style-" + name);
    fs::remove_all(d);
    fs::create_directories(d);
    return d.string();
}

// Creates at path with driver a layer per geometry type given (named l0,
// l1, ...), each with one feature per WKT.
void make(const std::string& path, const char* driver,
          const std::vector<std::pair<OGRwkbGeometryType, std::vector<const char*>>>& layers) {
    orv::geo::register_drivers();
    GDALDatasetH ds =
        GDALCreate(GDALGetDriverByName(driver), path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    ASSERT_NE(ds, nullptr);
    int n = 0;
    for (const auto& [type, wkts] : layers) {
        const char* wkt_column[] = {"GEOMETRY=AS_WKT", nullptr};
        OGRLayerH l = GDALDatasetCreateLayer(ds, ("l" + std::to_string(n++)).c_str(), nullptr, type,
                                             const_cast<char**>(wkt_column));
        ASSERT_NE(l, nullptr);
        for (const char* wkt : wkts) {
            OGRFeatureH f = OGR_F_Create(OGR_L_GetLayerDefn(l));
            OGRGeometryH g = nullptr;
            char* at = const_cast<char*>(wkt);
            OGR_G_CreateFromWkt(&at, nullptr, &g);
            OGR_F_SetGeometryDirectly(f, g);
            EXPECT_EQ(OGR_L_CreateFeature(l, f), OGRERR_NONE);
            OGR_F_Destroy(f);
        }
    }
    GDALClose(ds);
}

// What the maker was asked for, per layer: its name and shape.
std::string made(const std::string& path, std::string& why) {
    std::string asked;
    const orv::style::style_maker make = [&](shape s, OGRLayerH l) {
        asked += std::string(OGR_L_GetName(l)) + ":" + std::to_string(static_cast<int>(s)) + " ";
        return orv::style::objects_qml(s, {orv::levels{}, orv::draw::object_colours(), ""});
    };
    EXPECT_TRUE(orv::style::style_file(path, make, "d", why)) << why;
    return asked;
}

TEST(StyleStore, ShapesAndPlaces) {
    const char* pt = "POINT (1 1)";
    const char* ln = "LINESTRING (0 0,1 1)";
    const char* pg = "POLYGON ((0 0,1 0,1 1,0 0))";
    struct row {
        const char* name;
        const char* driver;
        const char* file;
        std::vector<std::pair<OGRwkbGeometryType, std::vector<const char*>>> layers;
        const char* asked; // layer:shape (0 point, 1 line, 2 polygon) for each styled layer
        int rows;          // of layer_styles (GeoPackage)
        bool beside;       // a .qml beside
    };
    const row rows[] = {
        {"gpkg",
         "GPKG",
         "o.gpkg",
         {{wkbMultiPolygon, {pg}}, {wkbLineString, {ln}}, {wkbPoint, {pt}}},
         "l0:2 l1:1 l2:0 ",
         3,
         false},
        {"any",
         "GPKG",
         "o.gpkg",
         {{wkbUnknown, {pt, pt}}, {wkbUnknown, {pt, ln}}, {wkbNone, {}}},
         "l0:0 ",
         1,
         false},
        {"shp", "ESRI Shapefile", "o.shp", {{wkbPolygon, {pg}}}, "o:2 ", 0, true},
        {"json", "GeoJSON", "o.geojson", {{wkbUnknown, {ln}}}, "l0:1 ", 0, true},
        {"csv", "CSV", "o.csv", {{wkbPoint, {pt}}}, "", 0, false},
    };
    for (const row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string d = folder(r.name);
        const std::string path = d + "/" + r.file;
        make(path, r.driver, r.layers);
        std::string why;
        EXPECT_EQ(made(path, why), r.asked);
        EXPECT_EQ(fs::exists(d + "/o.qml"), r.beside);
        if (std::string(r.driver) != "GPKG") continue;
        GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
        ASSERT_NE(ds, nullptr);
        OGRLayerH t = GDALDatasetGetLayerByName(ds, "layer_styles");
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(OGR_L_GetFeatureCount(t, TRUE), r.rows);
        GDALClose(ds);
    }
}

// A second layer of a file that is not a GeoPackage finds the first one's
// style beside it: kept, not overwritten.
TEST(StyleStore, FirstLayerBesideKept) {
    const std::string d = folder("first");
    make(d + "/o.sqlite", "SQLite",
         {{wkbPoint, {"POINT (1 1)"}}, {wkbLineString, {"LINESTRING (0 0,1 1)"}}});
    std::string why;
    made(d + "/o.sqlite", why);
    std::FILE* f = std::fopen((d + "/o.qml").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::string text(1 << 16, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    EXPECT_NE(text.find("type=\"marker\""), std::string::npos);
    EXPECT_EQ(text.find("type=\"line\" name=\"0\""), std::string::npos);
}

// Every document parses, a label field with XML's own characters included.
TEST(StyleStore, DocumentsWellFormed) {
    const orv::map::object_colours c = orv::draw::object_colours();
    const std::string odd = "a\"b&<c>";
    const std::vector<std::string> docs = {
        orv::style::objects_qml(shape::point, {orv::levels{}, c, odd}),
        orv::style::objects_qml(shape::line, {orv::levels{}, c, odd}),
        orv::style::objects_qml(shape::polygon, {orv::levels{}, c, ""}),
        orv::style::worst_points_qml({orv::levels{}, c, "x"}),
        orv::style::register_qml(shape::point, c),
        orv::style::register_qml(shape::polygon, c),
    };
    for (const std::string& q : docs) {
        CPLXMLNode* root = CPLParseXMLString(q.c_str());
        ASSERT_NE(root, nullptr) << q;
        EXPECT_NE(CPLGetXMLNode(root, "=qgis.renderer-v2.symbols"), nullptr);
        CPLDestroyXMLNode(root);
    }
    EXPECT_NE(docs[0].find("fieldName=\"a&quot;b&amp;&lt;c&gt;\""), std::string::npos);
}

} // namespace
