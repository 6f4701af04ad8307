// The words and the style of the level raster's two bands: category names
// for GDAL and a QML document a desktop GIS loads from beside the file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "map/palette.h"
#include "model/level.h"

namespace orv::raster {

// Codes of the reason band: 0 where band 1 holds a level, else the status
// of the model that left the cell without one (as in the six-band raster).
inline constexpr uint8_t reason_result = 0;
inline constexpr uint8_t reason_near = 1;     // near the breach (status 1)
inline constexpr uint8_t reason_beyond = 2;   // beyond the tables (status 2)
inline constexpr uint8_t reason_upstream = 5; // not below the breach (status 5)
// No value in either band: the cell lies outside the map.
inline constexpr uint8_t no_value = 255;

// The names of the levels 0 to 3, "Stufe 0" ... "Stufe 3" (UTF-8).
std::vector<std::string> level_categories();
// The names of the reasons by code, "" for the codes not used (UTF-8).
std::vector<std::string> reason_categories();

// A QML document that shows band 1 with the levels 0 to 3 in the colours c,
// labelled with their thresholds lv, and no value transparent.
std::string level_qml(const levels& lv, const map::zone_colours& c);

} // namespace orv::raster
