// A background raster under a map picture: checked, then warped by GDAL
// to the picture's system and pixel grid.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "map/world_box.h"

class OGRSpatialReference;

namespace orv::raster {

// Checks that GDAL reads path as a raster of Byte bands it can show: one
// (grey or a palette), three (red, green, blue) or four (with alpha);
// false with a German reason in why.
bool check_background(const std::string& path, std::string& why);

// The background at path warped with bilinear resampling to the system
// wkt (a raster without a system is taken to be in it) over box, w x h
// pixels, top row first: premultiplied ARGB32 in px, transparent where the
// raster has no data; false with a German reason in why.
bool warp_background(const std::string& path, const std::string& wkt, const map::world_box& box,
                     int w, int h, std::vector<uint32_t>& px, std::string& why);

// The name of the system wkt as people know it ("CH1903+ / LV95"), empty
// when it has none.
std::string crs_name(const std::string& wkt);

// Whether the georeferenced extent of the raster at path lies in the area
// of use of the site's system (taken in it when the raster names none);
// false with the German reason in why. A raster that cannot be read or
// has no geotransform passes: check_background speaks of it.
bool background_in_area(const std::string& path, const OGRSpatialReference& site, std::string& why);

} // namespace orv::raster
