// The danger zones of a map as a vector layer "zonen": per zone one
// (multi)polygon along the cell edges of the class band, with its style.
#pragma once
#include <string>

#include "map/palette.h"
#include "model/level.h"
#include "raster/classes.h"

namespace orv::raster {

// The OGR driver for zones named path: GeoPackage without an extension or
// for .gpkg, else the vector driver that claims the extension. Empty with a
// German reason in why.
std::string choose_zone_driver(const std::string& path, std::string& why);

// Writes the zones of band b to path (a file of a staged output) with
// driver: a feature per zone with cells (levels 1 to 3, near the breach,
// beyond the tables), fields kind, level, label and area_m2 (cells times
// the cell area), in the band's frame and coordinate system. The style
// goes into the GeoPackage's layer_styles table, for other formats into
// STEM.qml beside path. False with a German reason in why.
bool write_zones(const class_band& b, const std::string& path, const std::string& driver,
                 const levels& lv, const map::zone_colours& c, std::string& why);

} // namespace orv::raster
