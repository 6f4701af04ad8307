// --crs texts to spatial references through PROJ's EPSG database.
#include "geo/crs.h"

#include <charconv>

#include <cpl_string.h>
#include <ogr_spatialref.h>

#include "geo/context.h"

namespace orv::geo {

bool crs_from_epsg(int code, OGRSpatialReference& srs) {
    messages q;
    return code > 0 && srs.importFromEPSG(code) == OGRERR_NONE;
}

bool read_crs(const std::string& text, OGRSpatialReference& srs, std::string& why) {
    int code = 0;
    const bool prefix = text.size() > 5 && EQUALN(text.c_str(), "EPSG:", 5);
    const char* b = text.c_str() + (prefix ? 5 : 0);
    const char* e = text.c_str() + text.size();
    const auto r = std::from_chars(b, e, code);
    if (!prefix || r.ec != std::errc() || r.ptr != e || code <= 0) {
        why = "Option --crs: EPSG:NNNN erwartet: " + text;
        return false;
    }
    if (!crs_from_epsg(code, srs)) {
        why = "Option --crs: unbekanntes Koordinatensystem: " + text;
        return false;
    }
    return true;
}

} // namespace orv::geo
