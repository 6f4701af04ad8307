// The EPSG code in a text "EPSG:NNNN" (the prefix in any case), without GDAL.
#pragma once
#include <string_view>

namespace orv::geo {

// True when text is "EPSG:" (any case) followed by digits only, giving a
// code above 0 that fits an int; code is set then and only then.
bool epsg_code(std::string_view text, int& code);

// True when text starts with "EPSG:" in any case.
bool has_epsg_prefix(std::string_view text);

} // namespace orv::geo
