// Checks of parameter values and matching of parameter names.
#include "model/params.h"

#include <cmath>

namespace orv {

const char* unusable(real v, bool positive) {
    if (!std::isfinite(v)) return "Wert muss endlich sein";
    if (positive && !(v > 0)) return "Wert muss groesser als 0 sein";
    return nullptr;
}

bool names_param(std::string_view name, int k) {
    const std::string_view want = param_table[k].name;
    if (name.size() != want.size()) return false;
    for (std::size_t i = 0; i < want.size(); ++i) {
        const bool same =
            param_table[k].any_case ? (name[i] | 0x20) == (want[i] | 0x20) : name[i] == want[i];
        if (!same) return false;
    }
    return true;
}

std::string param_names(int from, int to, const char* sep) {
    std::string s;
    for (int k = from; k < to; ++k) s += (k > from ? sep : "") + std::string(param_table[k].name);
    return s;
}

} // namespace orv
