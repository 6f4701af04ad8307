// Coordinate systems read from the texts users give for --crs.
#pragma once
#include <string>

class OGRSpatialReference;

namespace orv::geo {

// The system of an EPSG code into srs; false when PROJ does not know it.
bool crs_from_epsg(int code, OGRSpatialReference& srs);

// "EPSG:NNNN" (the prefix in any case) into srs; false with a German reason
// that names the option --crs.
bool read_crs(const std::string& text, OGRSpatialReference& srs, std::string& why);

} // namespace orv::geo
