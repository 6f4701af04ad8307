// Zone names, labels and their QML style.
#include "vector/zone_style.h"

#include "base/level_text.h"
#include "map/summary.h"
#include "style/qml.h"

namespace orv::vector {

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
    using namespace style;
    std::string rules, symbols;
    int n = 0;
    for (zone_kind z : all_zones) {
        const std::string name = std::to_string(n++);
        const std::string kind = zone_kind_name(z);
        std::string filter = "\"kind\" = '" + kind + "'";
        if (kind == "level") filter += " AND \"level\" = " + std::to_string(zone_class(z));
        rules += rule("zone-" + name, name, filter, zone_label(z, lv));
        if (kind == "level")
            symbols += symbol(shape::polygon, name, solid_fill(c.level[zone_class(z)]));
        else
            symbols +=
                symbol(shape::polygon, name,
                       solid_fill(c.no_result) +
                           hatch_fill(c.hatch, z == zone_kind::near ? 45 : 135, 2, 0.25, name));
    }
    return document(rule_renderer(rules, symbols));
}

} // namespace orv::vector
