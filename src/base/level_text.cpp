// The level rule, the level names and the words of the zones without a result.
#include "base/level_text.h"

#include "base/number_text.h"

namespace orv {

std::string level_rule(real t, charset c) {
    const std::string s = plain(t);
    return "h > " + s + " m oder q > " + s + (c == charset::ascii ? " m2/s" : " m\u00b2/s");
}

std::string level_name(int k) {
    return "Stufe " + std::to_string(k);
}

std::string not_computed_warning(charset c) {
    if (c == charset::ascii) return "Nicht berechnet heisst nicht: keine Gefahr.";
    return std::string(not_computed_lines[0]) + " " + not_computed_lines[1];
}

std::string no_result_label(int32_t st) {
    if (st == 1) return "zu nahe an der Bresche";
    if (st == 5) return "oberhalb der Bresche";
    return "jenseits der Tabellen";
}

} // namespace orv
