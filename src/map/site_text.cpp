// The site line of titles and summaries.
#include "map/site_text.h"

#include "base/number_text.h"

namespace orv::map {

std::string site_text(const params& p, charset c, const std::string& slope_note) {
    return "H = " + plain(p.h) + " m, B = " + plain(p.b) + " m, Vol = " + plain(p.vol) +
           (c == charset::ascii ? " m3" : " m\u00b3") + ", S = " + plain(p.slp) + " %" +
           slope_note + ", D = " + plain(p.dm) + " m";
}

} // namespace orv::map
