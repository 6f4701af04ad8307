// orvalis map --level-raster read back with GDAL in each format it takes:
// two Byte bands, level and reason, their no-data value, names, colours and
// the style beside them, cell for cell against the six-band raster.
#include <cmath>
#include <string>
#include <vector>

#include <cpl_minixml.h>
#include <gdal.h>
#include <gtest/gtest.h>

#include "draw/style.h"
#include "support/command.h"

namespace {

using orv::test::read_file;
using orv::test::run_orvalis;

// Band k of ds as bytes.
std::vector<unsigned char> read_bytes(GDALDatasetH ds, int k) {
    const int nx = GDALGetRasterXSize(ds), ny = GDALGetRasterYSize(ds);
    std::vector<unsigned char> v(static_cast<std::size_t>(nx) * ny);
    EXPECT_EQ(GDALRasterIO(GDALGetRasterBand(ds, k), GF_Read, 0, 0, nx, ny, v.data(), nx, ny,
                           GDT_Byte, 0, 0),
              CE_None);
    return v;
}

// Band k of ds as floats (the six-band raster).
std::vector<float> read_floats(GDALDatasetH ds, int k) {
    const int nx = GDALGetRasterXSize(ds), ny = GDALGetRasterYSize(ds);
    std::vector<float> v(static_cast<std::size_t>(nx) * ny);
    EXPECT_EQ(GDALRasterIO(GDALGetRasterBand(ds, k), GF_Read, 0, 0, nx, ny, v.data(), nx, ny,
                           GDT_Float32, 0, 0),
              CE_None);
    return v;
}

// The category names of band b ({} for none).
std::vector<std::string> categories(GDALRasterBandH b) {
    std::vector<std::string> n;
    for (char** c = GDALGetRasterCategoryNames(b); c && *c; ++c) n.emplace_back(*c);
    return n;
}

// The values (level, reason) a cell of status st and level lv must have.
std::pair<int, int> expected(float st, float lv) {
    if (std::isnan(st)) return {255, 255};
    if (st == 0) return std::isnan(lv) ? std::pair{255, 255} : std::pair{static_cast<int>(lv), 0};
    if (st == 1 || st == 2 || st == 5) return {255, static_cast<int>(st)};
    return {255, 255};
}

struct format_case {
    const char* file;
    int colours;          // entries of band 1's table as the format keeps it
    bool reason_names;    // band 2's category names kept (beside or inside)
    std::string sidecars; // the files beside it, sorted, after the raster
};

// Each format: both bands unchanged against the six-band raster of the same
// frame, 255 their no-data value and no band taken for transparency, the
// names of the levels and reasons, the levels' colours, the style beside.
TEST(LevelRaster, TwoBandsInEachFormat) {
    const std::vector<format_case> cases = {
        {"l.tif", 256, true, "l.qml l.tif.aux.xml"},
        {"l", 256, true, "l.aux.xml l.qml"},
        {"l.img", 4, true, "l.img.aux.xml l.qml"},
        {"l.pix", 256, true, "l.pix.aux.xml l.qml"},
    };
    GDALAllRegister();
    const std::vector<std::string> site = {"map",   "-H",  "8",       "-B",  "20",      "--vol",
                                           "60000", "-S",  "6",       "-D",  "0.1",     "--cell",
                                           "4",     "--x", "-20:420", "--y", "-300:300"};
    const std::string d0 = orv::test::scratch_dir();
    std::vector<std::string> six = site;
    six.insert(six.end(), {"--raster", d0 + "/r.tif"});
    ASSERT_EQ(run_orvalis(six).code(), 0);
    GDALDatasetH rds = GDALOpen((d0 + "/r.tif").c_str(), GA_ReadOnly);
    ASSERT_NE(rds, nullptr);
    const std::vector<float> st = read_floats(rds, 5), lv = read_floats(rds, 6);
    GDALClose(rds);
    const orv::map::zone_colours zc = orv::draw::zone_colours();
    for (const format_case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string d = orv::test::scratch_dir();
        std::vector<std::string> a = site;
        a.insert(a.end(), {"--level-raster", d + "/" + c.file});
        const auto r = run_orvalis(a);
        ASSERT_EQ(r.code(), 0) << r.err;
        GDALDatasetH ds = GDALOpen((d + "/" + c.file).c_str(), GA_ReadOnly);
        ASSERT_NE(ds, nullptr);
        ASSERT_EQ(GDALGetRasterCount(ds), 2);
        const char* names[2] = {"Stufe", "Grund"};
        for (int k = 1; k <= 2; ++k) {
            GDALRasterBandH b = GDALGetRasterBand(ds, k);
            EXPECT_EQ(GDALGetRasterDataType(b), GDT_Byte);
            int has = 0;
            EXPECT_EQ(GDALGetRasterNoDataValue(b, &has), 255);
            EXPECT_TRUE(has);
            EXPECT_NE(GDALGetRasterColorInterpretation(b), GCI_AlphaBand);
            EXPECT_STREQ(GDALGetDescription(b), names[k - 1]);
        }
        GDALRasterBandH lb = GDALGetRasterBand(ds, 1);
        EXPECT_EQ(categories(lb),
                  (std::vector<std::string>{"Stufe 0", "Stufe 1", "Stufe 2", "Stufe 3"}));
        if (c.reason_names) {
            EXPECT_EQ(categories(GDALGetRasterBand(ds, 2)),
                      (std::vector<std::string>{"mit Ergebnis", "zu nahe an der Bresche",
                                                "jenseits der Tabellen", "", "",
                                                "oberhalb der Bresche"}));
        }
        const GDALColorTableH ct = GDALGetRasterColorTable(lb);
        ASSERT_NE(ct, nullptr);
        EXPECT_EQ(GDALGetColorEntryCount(ct), c.colours);
        for (int k = 0; k <= 3; ++k) {
            const GDALColorEntry* e = GDALGetColorEntry(ct, k);
            EXPECT_EQ((std::vector<int>{e->c1, e->c2, e->c3, e->c4}),
                      (std::vector<int>{zc.level[k].r, zc.level[k].g, zc.level[k].b, 255}));
        }
        const std::vector<unsigned char> lev = read_bytes(ds, 1), why = read_bytes(ds, 2);
        GDALClose(ds);
        ASSERT_EQ(lev.size(), st.size());
        int seen[256] = {};
        for (std::size_t k = 0; k < st.size(); ++k) {
            const std::pair<int, int> got(lev[k], why[k]);
            ASSERT_EQ(got, expected(st[k], lv[k])) << "cell " << k;
            ++seen[why[k]];
        }
        for (int reason : {0, 1, 2, 5}) EXPECT_GT(seen[reason], 0) << reason;

        // The style QGIS loads from beside the raster: band 1's four levels.
        CPLXMLNode* root = CPLParseXMLString(read_file(d + "/l.qml").c_str());
        ASSERT_NE(root, nullptr);
        const CPLXMLNode* pal = CPLGetXMLNode(root, "=qgis.pipe.rasterrenderer.colorPalette");
        ASSERT_NE(pal, nullptr);
        EXPECT_STREQ(CPLGetXMLValue(root, "=qgis.pipe.rasterrenderer.band", ""), "1");
        std::vector<std::string> labels;
        for (const CPLXMLNode* e = pal->psChild; e; e = e->psNext) {
            if (e->eType == CXT_Element) labels.emplace_back(CPLGetXMLValue(e, "label", ""));
        }
        EXPECT_EQ(labels,
                  (std::vector<std::string>{"Stufe 0", "Stufe 1: h > 0.5 m oder q > 0.5 m\u00b2/s",
                                            "Stufe 2: h > 1 m oder q > 1 m\u00b2/s",
                                            "Stufe 3: h > 2 m oder q > 2 m\u00b2/s"}));
        CPLDestroyXMLNode(root);
        std::string files;
        for (const std::string& n :
             {std::string("l.aux.xml"), std::string("l.img.aux.xml"), std::string("l.pix.aux.xml"),
              std::string("l.qml"), std::string("l.tif.aux.xml")}) {
            if (!read_file(d + "/" + n).empty()) files += (files.empty() ? "" : " ") + n;
        }
        EXPECT_EQ(files, c.sidecars);
    }
}

} // namespace
