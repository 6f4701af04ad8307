// The rules of the judged objects' styles.
#include "style/objects_style.h"

#include "base/level_text.h"
#include "style/look.h"

namespace orv::style {

namespace {

// The rules and symbols of levels 0 to 3 and of the objects without one.
void level_rules(shape s, const object_look& l, std::string& rules, std::string& symbols) {
    const map::object_colours& c = l.colours;
    for (int k = 0; k <= 3; ++k) {
        const std::string name = std::to_string(k);
        rules += rule("level-" + name, name, "\"orv_level\" = " + name, level_legend(k, l.lv));
        symbols += symbol_of(s, {k == 0 ? nullptr : &c.level[k]}, c, name);
    }
}

// The rule of the objects without a level, symbol name.
void none_rule(shape s, const object_look& l, const std::string& name, std::string& rules,
               std::string& symbols) {
    rules += rule("none", name, "\"orv_level\" IS NULL", "nicht berechnet");
    symbols += symbol_of(s, {&l.colours.none, true}, l.colours, name);
}

} // namespace

std::string level_legend(int k, const levels& lv) {
    if (k == 0) return level_name(0) + " (darunter)";
    return level_name(k) + ": " + level_rule(lv.t[k - 1], charset::utf8);
}

// The hatch of the open and partly computed objects is a rule of its own,
// drawn over the level's symbol as the pictures draw it over the fill.
std::string objects_qml(shape s, const object_look& l) {
    std::string rules, symbols;
    level_rules(s, l, rules, symbols);
    const look hatch{nullptr, true, true};
    rules += rule("open", "4", "\"orv_open\" > 0 AND \"orv_level\" IS NOT NULL", "offen");
    symbols += symbol_of(s, hatch, l.colours, "4");
    rules += rule("part", "5", "\"orv_state\" = 'part' AND coalesce(\"orv_open\", 0) = 0",
                  "teilweise berechnet");
    symbols += symbol_of(s, hatch, l.colours, "5");
    none_rule(s, l, "6", rules, symbols);
    return document(rule_renderer(rules, symbols, "orv_level"), labels(l.label, s));
}

std::string worst_points_qml(const object_look& l) {
    std::string rules, symbols;
    level_rules(shape::point, l, rules, symbols);
    none_rule(shape::point, l, "4", rules, symbols);
    return document(rule_renderer(rules, symbols, "orv_level"),
                    labels(l.label.empty() ? "" : "orv_label", shape::point));
}

} // namespace orv::style
