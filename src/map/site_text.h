// The site's five parameters as one line, as titles and summaries name them.
#pragma once
#include <string>

#include "base/charset.h"
#include "model/params.h"

namespace orv::map {

// "H = 5 m, B = 10 m, Vol = 4000 m3, S = 1 %, D = 0.15 m" ("m³" in UTF-8),
// each value as plain() writes it; slope_note follows the slope, as in
// "S = 2 % (korrigiert), D = ...".
std::string site_text(const params& p, charset c, const std::string& slope_note = "");

} // namespace orv::map
