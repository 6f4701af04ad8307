// Zone names, labels and their QML style.
#include "vector/zone_style.h"

#include "base/level_text.h"
#include "map/summary.h"

namespace orv::vector {

namespace {

// s with the characters XML gives a meaning to escaped, for attributes.
std::string xml_text(const std::string& s) {
    std::string o;
    for (char ch : s) {
        switch (ch) {
        case '&': o += "&amp;"; break;
        case '<': o += "&lt;"; break;
        case '>': o += "&gt;"; break;
        case '"': o += "&quot;"; break;
        default: o += ch;
        }
    }
    return o;
}

// "r,g,b,255".
std::string rgba(const map::colour8& c) {
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ",255";
}

// A solid fill without outline.
std::string solid(const map::colour8& c) {
    return "        <layer class=\"SimpleFill\" enabled=\"1\" locked=\"0\" pass=\"0\">\n"
           "          <prop k=\"color\" v=\"" +
           rgba(c) +
           "\"/>\n"
           "          <prop k=\"style\" v=\"solid\"/>\n"
           "          <prop k=\"outline_style\" v=\"no\"/>\n"
           "        </layer>\n";
}

// Parallel lines at angle degrees (45 rising to the right, 135 falling).
std::string hatch(const map::colour8& c, int angle, const std::string& name) {
    return "        <layer class=\"LinePatternFill\" enabled=\"1\" locked=\"0\" pass=\"0\">\n"
           "          <prop k=\"lineangle\" v=\"" +
           std::to_string(angle) +
           "\"/>\n"
           "          <prop k=\"distance\" v=\"2\"/>\n"
           "          <prop k=\"distance_unit\" v=\"MM\"/>\n"
           "          <symbol type=\"line\" name=\"@" +
           name +
           "@1\" alpha=\"1\" "
           "clip_to_extent=\"1\" force_rhr=\"0\">\n"
           "            <layer class=\"SimpleLine\" enabled=\"1\" locked=\"0\" pass=\"0\">\n"
           "              <prop k=\"line_color\" v=\"" +
           rgba(c) +
           "\"/>\n"
           "              <prop k=\"line_width\" v=\"0.25\"/>\n"
           "              <prop k=\"line_width_unit\" v=\"MM\"/>\n"
           "            </layer>\n"
           "          </symbol>\n"
           "        </layer>\n";
}

} // namespace

int zone_class(zone_kind z) {
    return static_cast<int>(z) + 1;
}

const char* zone_kind_name(zone_kind z) {
    switch (z) {
    case zone_kind::near: return "near";
    case zone_kind::beyond: return "beyond";
    default: return "level";
    }
}

std::string zone_label(zone_kind z, const levels& lv) {
    if (z == zone_kind::near || z == zone_kind::beyond)
        return std::string(not_computed) + ": " + no_result_label(z == zone_kind::near ? 1 : 2);
    const int k = zone_class(z);
    return level_name(k) + ": " + level_rule(lv.t[k - 1], charset::utf8);
}

std::string zone_qml(const levels& lv, const map::zone_colours& c) {
    std::string rules, symbols;
    int n = 0;
    for (zone_kind z : all_zones) {
        const std::string name = std::to_string(n++);
        const std::string kind = zone_kind_name(z);
        std::string filter = "\"kind\" = '" + kind + "'";
        if (kind == "level") filter += " AND \"level\" = " + std::to_string(zone_class(z));
        rules += "      <rule key=\"{zone-" + name + "}\" symbol=\"" + name + "\" filter=\"" +
                 xml_text(filter) + "\" label=\"" + xml_text(zone_label(z, lv)) + "\"/>\n";
        symbols += "      <symbol type=\"fill\" name=\"" + name +
                   "\" alpha=\"1\" clip_to_extent=\"1\" force_rhr=\"0\">\n";
        if (kind == "level") {
            symbols += solid(c.level[zone_class(z)]);
        } else {
            symbols += solid(c.no_result);
            symbols += hatch(c.hatch, z == zone_kind::near ? 45 : 135, name);
        }
        symbols += "      </symbol>\n";
    }
    return "<qgis version=\"3.22.0\" styleCategories=\"Symbology\">\n"
           "  <renderer-v2 type=\"RuleRenderer\" symbollevels=\"0\" enableorderby=\"0\" "
           "forceraster=\"0\">\n"
           "    <rules key=\"{zones}\">\n" +
           rules +
           "    </rules>\n"
           "    <symbols>\n" +
           symbols +
           "    </symbols>\n"
           "  </renderer-v2>\n"
           "  <layerOpacity>1</layerOpacity>\n"
           "</qgis>\n";
}

} // namespace orv::vector
