// Coordinate systems read from the texts users give for --crs.
#pragma once
#include <string>

class OGRSpatialReference;

namespace orv::geo {

// The system of an EPSG code into srs; false when PROJ does not know it.
bool crs_from_epsg(int code, OGRSpatialReference& srs);

// A --crs text into srs: "EPSG:NNNN" (the prefix in any case), a definition
// PROJ reads (WKT, PROJJSON, a PROJ string such as "+proj=somerc ..."), or
// the name of a file that holds one of these. Nothing else is read: no other
// file and no network. False with a German reason that names --crs.
bool read_crs(const std::string& text, OGRSpatialReference& srs, std::string& why);

// "NAME (EPSG:NNNN)", or the name alone for a system without an EPSG code.
std::string crs_name(const OGRSpatialReference& srs);

} // namespace orv::geo
