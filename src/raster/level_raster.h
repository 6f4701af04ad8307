// The level raster: the class band of a map as two Byte bands that a GIS
// reads without help, the level and the reason why a cell has none.
#pragma once
#include <cstdint>
#include <string>

#include "map/palette.h"
#include "model/level.h"
#include "raster/classes.h"

namespace orv::raster {

// Band 1 of a cell of class c: its level 0 to 3, else no value (255).
uint8_t level_of(uint8_t c);
// Band 2 of a cell of class c: reason_result for a level, the reason's
// code for a cell without one, no value (255) outside the map.
uint8_t reason_of(uint8_t c);

// The GDAL driver for a level raster named path: GeoTIFF without an
// extension or for .tif/.tiff, else the raster driver that claims the
// extension and gives two Byte bands back unchanged, with their no-data
// value and neither taken as transparency. Empty with a German reason.
std::string choose_level_driver(const std::string& path, std::string& why);

// Writes the band b as a level raster to path (a file of a staged output)
// with driver: band 1 "Stufe" and band 2 "Grund" in Byte, 255 their no-data
// value, both with category names, band 1 with the colours c of the levels
// (a table of four entries where the format allows it); beside it the style
// as a .qml file of the same name. False with a German reason in why.
bool write_level_raster(const class_band& b, const std::string& path, const std::string& driver,
                        const levels& lv, const map::zone_colours& c, std::string& why);

} // namespace orv::raster
