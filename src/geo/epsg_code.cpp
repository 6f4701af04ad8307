// "EPSG:NNNN" read by hand: the prefix in any case, then digits only.
#include "geo/epsg_code.h"

#include <charconv>

namespace orv::geo {

bool has_epsg_prefix(std::string_view t) {
    static constexpr std::string_view epsg = "EPSG:";
    if (t.size() < epsg.size()) return false;
    for (std::size_t k = 0; k < epsg.size(); ++k) {
        const char c = t[k] >= 'a' && t[k] <= 'z' ? static_cast<char>(t[k] - 'a' + 'A') : t[k];
        if (c != epsg[k]) return false;
    }
    return true;
}

bool epsg_code(std::string_view t, int& code) {
    if (t.size() <= 5 || !has_epsg_prefix(t) || t[5] < '0' || t[5] > '9') return false;
    int v = 0;
    const auto r = std::from_chars(t.data() + 5, t.data() + t.size(), v);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size() || v <= 0) return false;
    code = v;
    return true;
}

} // namespace orv::geo
