// --crs texts: EPSG codes, definitions in WKT and as PROJ strings, files
// holding either, and what is refused, with the message each gets.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <cpl_conv.h>
#include <gtest/gtest.h>
#include <ogr_spatialref.h>

#include "geo/crs.h"
#include "geo/epsg_code.h"

namespace {

std::string wkt1(int code) {
    OGRSpatialReference s;
    EXPECT_EQ(s.importFromEPSG(code), OGRERR_NONE);
    char* w = nullptr;
    EXPECT_EQ(s.exportToWkt(&w), OGRERR_NONE);
    std::string t = w;
    CPLFree(w);
    return t;
}

// A file in a fresh folder holding text; its path.
std::string file_with(const std::string& name, const std::string& text) {
    const auto dir = std::filesystem::temp_directory_path() / "orv-crs-test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(CrsText, EachFormReadOrRefusedWithItsMessage) {
    const std::string lv95 = wkt1(2056);
    const std::string proj = "+proj=somerc +lat_0=46.9524055555556 +lon_0=7.43958333333333 "
                             "+k_0=1 +x_0=2600000 +y_0=1200000 +ellps=bessel +units=m +no_defs";
    const std::string form =
        "Option --crs: EPSG:NNNN, WKT, PROJ-Zeichenkette oder Datei erwartet: ";
    const std::string wkt_file = file_with("lv95.wkt", "\n" + lv95 + "\n");
    const std::string code_file = file_with("code.txt", "EPSG:2056\r\n");
    const std::string junk_file = file_with("junk.txt", "kein System");
    const std::string empty_file = file_with("leer.txt", "");
    const struct {
        std::string text;
        std::string name; // crs_name of what was read; "" for a refusal
        std::string why;  // the message of a refusal
    } cases[] = {
        {"epsg:2056", "CH1903+ / LV95 (EPSG:2056)", ""},
        {"EPSG:", "", "Option --crs: EPSG:NNNN erwartet: EPSG:"},
        {"EPSG:+5", "", "Option --crs: EPSG:NNNN erwartet: EPSG:+5"},
        {"EPSG:0", "", "Option --crs: EPSG:NNNN erwartet: EPSG:0"},
        {"EPSG:99999999999", "", "Option --crs: EPSG:NNNN erwartet: EPSG:99999999999"},
        {"EPSG:999999", "", "Option --crs: unbekanntes Koordinatensystem: EPSG:999999"},
        // WKT1 carries no EPSG code: PROJ's database names it again.
        {lv95, "CH1903+ / LV95 (EPSG:2056)", ""},
        {wkt_file, "CH1903+ / LV95 (EPSG:2056)", ""},
        {code_file, "CH1903+ / LV95 (EPSG:2056)", ""},
        {junk_file, "",
         "Option --crs: Datei " + junk_file + " haelt kein lesbares Koordinatensystem"},
        {empty_file, "",
         "Option --crs: Datei " + empty_file + " haelt kein lesbares Koordinatensystem"},
        {"25832", "", form + "25832"},
        {"", "", form},
        // Neither the network nor another file is read for a definition.
        {"https://crs.example.org/lv95.wkt", "", form + "https://crs.example.org/lv95.wkt"},
        {std::filesystem::temp_directory_path().string(), "",
         form + std::filesystem::temp_directory_path().string()},
    };
    for (const auto& c : cases) {
        OGRSpatialReference srs;
        std::string why;
        const bool ok = orv::geo::read_crs(c.text, srs, why);
        EXPECT_EQ(ok, c.why.empty()) << c.text.substr(0, 60) << ": " << why;
        if (ok)
            EXPECT_EQ(orv::geo::crs_name(srs), c.name) << c.text.substr(0, 60);
        else
            EXPECT_EQ(why, c.why);
    }
    // A PROJ string is read; whatever PROJ makes of its name, it counts in metres.
    OGRSpatialReference srs;
    std::string why;
    ASSERT_TRUE(orv::geo::read_crs(proj, srs, why)) << why;
    EXPECT_TRUE(srs.IsProjected());
    EXPECT_EQ(srs.GetLinearUnits(nullptr), 1.0);
}

TEST(CrsText, EpsgCodesByHand) {
    const struct {
        const char* text;
        int code; // 0: refused
    } cases[] = {{"EPSG:2056", 2056},   {"ePsG:25832", 25832}, {"EPSG:", 0},
                 {"EPSG: 5", 0},        {"EPSG:5x", 0},        {"EPSG:-5", 0},
                 {"EPSG:0", 0},         {"2056", 0},           {"EPSG:2147483647", 2147483647},
                 {"EPSG:2147483648", 0}};
    for (const auto& c : cases) {
        int code = 0;
        EXPECT_EQ(orv::geo::epsg_code(c.text, code), c.code != 0) << c.text;
        EXPECT_EQ(code, c.code) << c.text;
    }
}

} // namespace
