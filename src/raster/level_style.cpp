// Category names and the QML style of the level raster.
#include "raster/level_style.h"

#include <cstdio>

#include "base/level_text.h"

namespace orv::raster {

std::vector<std::string> level_categories() {
    std::vector<std::string> n;
    for (int k = 0; k <= 3; ++k) n.push_back(level_name(k));
    return n;
}

std::vector<std::string> reason_categories() {
    std::vector<std::string> n(reason_upstream + 1);
    n[reason_result] = "mit Ergebnis";
    n[reason_near] = no_result_label(1);
    n[reason_beyond] = no_result_label(2);
    n[reason_upstream] = no_result_label(5);
    return n;
}

namespace {

// "#rrggbb".
std::string hex(const map::colour8& c) {
    char s[8];
    std::snprintf(s, sizeof s, "#%02x%02x%02x", c.r, c.g, c.b);
    return s;
}

// The legend's words of level k: "Stufe 2: h > 1 m oder q > 1 m²/s", the
// lowest level by its name alone. The rule holds no character XML escapes.
std::string label(int k, const levels& lv) {
    if (k == 0) return level_name(0);
    return level_name(k) + ": " + level_rule(lv.t[k - 1], charset::utf8);
}

} // namespace

std::string level_qml(const levels& lv, const map::zone_colours& c) {
    std::string entries;
    for (int k = 0; k <= 3; ++k) {
        entries += "        <paletteEntry value=\"" + std::to_string(k) + "\" color=\"" +
                   hex(c.level[k]) + "\" alpha=\"255\" label=\"" + label(k, lv) + "\"/>\n";
    }
    return "<qgis version=\"3.22.0\" styleCategories=\"Symbology\">\n"
           "  <pipe>\n"
           "    <rasterrenderer type=\"paletted\" band=\"1\" opacity=\"1\" alphaBand=\"-1\" "
           "nodataColor=\"\">\n"
           "      <rasterTransparency/>\n"
           "      <colorPalette>\n" +
           entries +
           "      </colorPalette>\n"
           "    </rasterrenderer>\n"
           "  </pipe>\n"
           "  <blendMode>0</blendMode>\n"
           "</qgis>\n";
}

} // namespace orv::raster
