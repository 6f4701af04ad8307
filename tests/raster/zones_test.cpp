// orvalis map --level-raster and --zones end to end: the classes against the
// six-band raster of the same run's frame, the zones rasterised back onto
// the cells, areas against cell counts, and the style that travels along.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <cpl_minixml.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <gtest/gtest.h>
#include <ogr_api.h>

#include "draw/style.h"
#include "support/command.h"

namespace {

using orv::test::read_file;
using orv::test::run_orvalis;

// One band of a raster file as doubles, with its frame.
struct band {
    int nx = 0, ny = 0;
    double gt[6] = {};
    std::vector<double> v;
};

band read_band(GDALDatasetH ds, int b) {
    band r;
    r.nx = GDALGetRasterXSize(ds);
    r.ny = GDALGetRasterYSize(ds);
    GDALGetGeoTransform(ds, r.gt);
    r.v.resize(static_cast<std::size_t>(r.nx) * r.ny);
    EXPECT_EQ(GDALRasterIO(GDALGetRasterBand(ds, b), GF_Read, 0, 0, r.nx, r.ny, r.v.data(), r.nx,
                           r.ny, GDT_Float64, 0, 0),
              CE_None);
    return r;
}

// The class of a cell of the level raster: its level, else its reason.
double class_of(double level, double reason) {
    if (level != 255) return level;
    if (reason == 1) return 4;
    if (reason == 2) return 5;
    if (reason == 5) return 6;
    return 255;
}

// The class a cell of the six-band raster must have in the level raster.
int expected_class(double status, double level) {
    if (std::isnan(status)) return 255;
    if (status == 1) return 4;
    if (status == 2) return 5;
    if (status == 5) return 6;
    return static_cast<int>(level);
}

// The QML parses and styles each zone: levels in the pictures' colours.
void expect_qml(const std::string& qml) {
    CPLXMLNode* root = CPLParseXMLString(qml.c_str());
    ASSERT_NE(root, nullptr) << qml;
    const CPLXMLNode* rules = CPLGetXMLNode(root, "=qgis.renderer-v2.rules");
    const CPLXMLNode* symbols = CPLGetXMLNode(root, "=qgis.renderer-v2.symbols");
    ASSERT_TRUE(rules && symbols);
    int n = 0;
    for (const CPLXMLNode* c = rules->psChild; c; c = c->psNext) n += c->eType == CXT_Element;
    EXPECT_EQ(n, 5);
    const orv::map::zone_colours zc = orv::draw::zone_colours();
    int level = 1;
    for (const CPLXMLNode* s = symbols->psChild; s && level <= 3; s = s->psNext) {
        if (s->eType != CXT_Element) continue;
        const CPLXMLNode* prop = CPLGetXMLNode(const_cast<CPLXMLNode*>(s), "layer.prop");
        const auto& c = zc.level[level++];
        EXPECT_STREQ(
            CPLGetXMLValue(prop, "v", ""),
            (std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ",255")
                .c_str());
    }
    CPLDestroyXMLNode(root);
}

struct zones_case {
    const char* name;
    std::vector<std::string> frame; // options beside the site's
    const char* zones;              // file name of the zones
};

// Each frame: the level raster's two bands give the classes of the six-band
// raster cell for cell, with its colour table; the zones cover exactly the cells
// of their class (rasterised back), with areas equal to the cell counts.
TEST(MapZones, LevelRasterAndZonesFollowTheCells) {
    const std::vector<zones_case> cases = {
        {"jet frame", {"--cell", "2"}, "z.gpkg"},
        {"world frame",
         {"--cell", "2", "--origin", "2600000.3,1200000.7", "--azimuth", "37.5", "--crs",
          "EPSG:2056"},
         "z.gpkg"},
        {"shapefile, upstream cells, no level 3",
         {"--cell", "4", "--x", "-20:420", "--y", "-300:300", "--levels", "0.5,1,500"},
         "z.shp"},
    };
    GDALAllRegister();
    for (const zones_case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string d = orv::test::scratch_dir();
        const bool gpkg = std::string(c.zones).ends_with(".gpkg");
        std::vector<std::string> site = {"map",   "-H", "8", "-B", "20", "--vol",
                                         "60000", "-S", "6", "-D", "0.1"};
        site.insert(site.end(), c.frame.begin(), c.frame.end());
        std::vector<std::string> a = site, b = site;
        a.insert(a.end(), {"--raster", d + "/r.tif"});
        b.insert(b.end(), {"--level-raster", d + "/l.tif", "--zones", d + "/" + c.zones});
        ASSERT_EQ(run_orvalis(a).code(), 0);
        const auto rb = run_orvalis(b);
        ASSERT_EQ(rb.code(), 0) << rb.err;

        GDALDatasetH rds = GDALOpen((d + "/r.tif").c_str(), GA_ReadOnly);
        GDALDatasetH lds = GDALOpen((d + "/l.tif").c_str(), GA_ReadOnly);
        ASSERT_TRUE(rds && lds);
        ASSERT_EQ(GDALGetRasterCount(lds), 2);
        GDALRasterBandH lb = GDALGetRasterBand(lds, 1);
        EXPECT_EQ(GDALGetRasterDataType(lb), GDT_Byte);
        int has = 0;
        EXPECT_EQ(GDALGetRasterNoDataValue(lb, &has), 255);
        EXPECT_TRUE(has);
        const GDALColorTableH ct = GDALGetRasterColorTable(lb);
        ASSERT_NE(ct, nullptr);
        const orv::map::zone_colours zc = orv::draw::zone_colours();
        for (int k = 0; k <= 3; ++k) {
            const GDALColorEntry* e = GDALGetColorEntry(ct, k);
            EXPECT_EQ((std::vector<int>{e->c1, e->c2, e->c3, e->c4}),
                      (std::vector<int>{zc.level[k].r, zc.level[k].g, zc.level[k].b, 255}));
        }
        EXPECT_EQ(GDALGetColorEntry(ct, 255)->c4, 0);
        const band status = read_band(rds, 5), level = read_band(rds, 6);
        band cls = read_band(lds, 1);
        const band reason = read_band(lds, 2);
        for (std::size_t k = 0; k < cls.v.size(); ++k) cls.v[k] = class_of(cls.v[k], reason.v[k]);
        ASSERT_EQ(cls.nx, status.nx);
        ASSERT_EQ(cls.ny, status.ny);
        for (int k = 0; k < 6; ++k) EXPECT_EQ(cls.gt[k], status.gt[k]);
        std::size_t count[256] = {};
        for (std::size_t k = 0; k < cls.v.size(); ++k) {
            ASSERT_EQ(cls.v[k], expected_class(status.v[k], level.v[k])) << "cell " << k;
            ++count[static_cast<int>(cls.v[k])];
        }
        EXPECT_GT(count[4], 0u);
        EXPECT_GT(count[5], 0u);
        if (!gpkg) {
            EXPECT_GT(count[6], 0u);
            EXPECT_EQ(count[3], 0u);
        }

        // The zones: one feature per class with cells, rasterised back.
        GDALDatasetH zds =
            GDALOpenEx((d + "/" + c.zones).c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
        ASSERT_NE(zds, nullptr);
        // A shapefile's one layer is named after the file.
        OGRLayerH zl = gpkg ? GDALDatasetGetLayerByName(zds, "zonen") : GDALDatasetGetLayer(zds, 0);
        ASSERT_NE(zl, nullptr);
        GDALDatasetH back =
            GDALCreate(GDALGetDriverByName("MEM"), "", cls.nx, cls.ny, 1, GDT_Byte, nullptr);
        double gt[6];
        std::copy(cls.gt, cls.gt + 6, gt);
        GDALSetGeoTransform(back, gt);
        const double cell_area = gt[1] * gt[1];
        int features = 0;
        for (OGRFeatureH f; (f = OGR_L_GetNextFeature(zl)); OGR_F_Destroy(f)) {
            ++features;
            const std::string kind = OGR_F_GetFieldAsString(f, 0);
            const bool lv = kind == "level";
            const int k = lv ? OGR_F_GetFieldAsInteger(f, 1) : kind == "near" ? 4 : 5;
            SCOPED_TRACE(kind + " " + std::to_string(k));
            EXPECT_EQ(OGR_F_IsFieldNull(f, 1), !lv);
            if (k == 2) {
                EXPECT_STREQ(OGR_F_GetFieldAsString(f, 2), "Stufe 2: h > 1 m oder q > 1 m\u00b2/s");
            }
            const double area = OGR_F_GetFieldAsDouble(f, 3);
            EXPECT_EQ(area, static_cast<double>(count[k]) * cell_area);
            OGRGeometryH g = OGR_F_GetGeometryRef(f);
            EXPECT_NEAR(OGR_G_Area(g), area, area * 1e-12);
            int bandlist = 1;
            double burn = k;
            EXPECT_EQ(GDALRasterizeGeometries(back, 1, &bandlist, 1, &g, nullptr, nullptr, &burn,
                                              nullptr, nullptr, nullptr),
                      CE_None);
        }
        int expected_features = 0;
        for (int k = 1; k <= 5; ++k) expected_features += count[k] > 0;
        EXPECT_EQ(features, expected_features);
        const band drawn = read_band(back, 1);
        for (std::size_t k = 0; k < cls.v.size(); ++k) {
            const double want = cls.v[k] >= 1 && cls.v[k] <= 5 ? cls.v[k] : 0;
            ASSERT_EQ(drawn.v[k], want) << "cell " << k;
        }
        // The style: in the GeoPackage's table, else in a .qml beside.
        if (gpkg) {
            OGRLayerH st = GDALDatasetGetLayerByName(zds, "layer_styles");
            ASSERT_NE(st, nullptr);
            ASSERT_EQ(OGR_L_GetFeatureCount(st, TRUE), 1);
            OGRFeatureH f = OGR_L_GetNextFeature(st);
            auto field = [&](const char* n) {
                return std::string(OGR_F_GetFieldAsString(f, OGR_F_GetFieldIndex(f, n)));
            };
            EXPECT_EQ(field("f_table_name"), "zonen");
            EXPECT_EQ(field("f_geometry_column"), OGR_L_GetGeometryColumn(zl));
            EXPECT_EQ(field("useAsDefault"), "1");
            expect_qml(field("styleQML"));
            OGR_F_Destroy(f);
        } else {
            expect_qml(read_file(d + "/z.qml"));
        }
        GDALClose(back);
        GDALClose(zds);
        GDALClose(lds);
        GDALClose(rds);
    }
}

} // namespace
