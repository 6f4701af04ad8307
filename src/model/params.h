// The Parameter set: the seven values that the prompts show and change, and
// the table that names them for every tool.
#pragma once
#include <string>
#include <string_view>

#include "interp/rmint.h"

namespace orv {

struct params {
    real h = 5;      // head of water behind the breach [m]
    real b = 10;     // breach width [m]
    real vol = 4000; // storage volume [m3]
    real slp = 1;    // bed slope [%]
    real dm = 0.15f; // grain diameter [m]
    real x1 = 100;   // distance from the breach [m]
    real y1 = 0;     // distance from the centre line of the jet [m]
};

// One of the seven parameters: its name (a CSV column, a Python argument),
// its command-line option, where it lives in a Parameter set, whether a
// value must be > 0, whether a column name matches it in any case (Vol),
// and what it is with its unit (German, for help texts).
struct param_info {
    const char* name;
    const char* option;
    real params::*member;
    bool positive;
    bool any_case;
    const char* what;
};

// The seven parameters in the order of the Parameter set: five of the site,
// then x and y.
inline constexpr int n_params = 7;
inline constexpr int n_site_params = 5;
inline constexpr param_info param_table[n_params] = {
    {"H", "-H", &params::h, true, false, "Stauhoehe H in m"},
    {"B", "-B", &params::b, true, false, "Breschenbreite B in m"},
    {"Vol", "--vol", &params::vol, true, true, "Stauvolumen Vol in m3"},
    {"S", "-S", &params::slp, false, false, "Gefaelle S in %"},
    {"D", "-D", &params::dm, true, false, "Korndurchmesser D in m"},
    {"x", "-x", &params::x1, false, false, "Distanz x von der Bresche in m"},
    {"y", "-y", &params::y1, false, false, "Distanz y von der Mittellinie in m"},
};

// Whether a column named name gives parameter k: its name exactly, or in
// any case where the table says so. Blanks count.
bool names_param(std::string_view name, int k);

// The names of parameters from to to - 1, joined by sep ("H, B, Vol").
std::string param_names(int from, int to, const char* sep);

// The initial value of parameter k, as a new Parameter set holds it.
constexpr real initial_value(int k) {
    return params{}.*param_table[k].member;
}

// What makes v unusable as the value of a parameter (German, for messages),
// or nullptr: it must be finite and, when positive, > 0.
const char* unusable(real v, bool positive);

} // namespace orv
