// The words of the danger levels and of the zones without a result, each
// written once, in the two forms the outputs need.
#pragma once
#include <cstdint>
#include <string>

#include "base/charset.h"
#include "base/real.h"

namespace orv {

// The condition of a level with threshold t: "h > 0.5 m oder q > 0.5 m²/s"
// ("m2/s" in ASCII), the threshold as plain() writes it.
std::string level_rule(real t, charset c);

// "Stufe 2".
std::string level_name(int k);

// The heading of the levels and the name of their thresholds.
inline constexpr const char* levels_heading = "Gefahrenstufen";
inline constexpr const char* thresholds_name = "Schwellen der Gefahrenstufen";

// The heading of the zones without a result.
inline constexpr const char* not_computed = "Nicht berechnet";

// The warning that goes with them, in UTF-8 as two lines for a legend.
inline constexpr const char* not_computed_lines[2] = {"\u201eNicht berechnet\u201c heisst nicht",
                                                      "\u201ekeine Gefahr\u201c."};

// The same warning on one line: "Nicht berechnet heisst nicht: keine
// Gefahr." in ASCII, the two lines above joined by a space in UTF-8.
std::string not_computed_warning(charset c);

// The words for a zone of status st: "zu nahe an der Bresche" (1),
// "oberhalb der Bresche" (5), "jenseits der Tabellen" (2 to 4).
std::string no_result_label(int32_t st);

// The summaries' names of the columns without a result near the breach
// (status 1) and beyond the tables (status 2).
inline constexpr const char* near_zone_name = "Nahbereich ohne Ergebnis";
inline constexpr const char* far_zone_name = "Jenseits der Tabellen ohne Ergebnis";

} // namespace orv
