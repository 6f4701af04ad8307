// The Parameter set: the seven values that the prompts show and change, and
// the table that names them for every tool.
#pragma once
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
// its command-line option, where it lives in a Parameter set, and whether a
// value must be > 0.
struct param_info {
    const char* name;
    const char* option;
    real params::*member;
    bool positive;
};

// The seven parameters in the order of the Parameter set: five of the site,
// then x and y.
inline constexpr int n_params = 7;
inline constexpr int n_site_params = 5;
inline constexpr param_info param_table[n_params] = {
    {"H", "-H", &params::h, true},        {"B", "-B", &params::b, true},
    {"Vol", "--vol", &params::vol, true}, {"S", "-S", &params::slp, false},
    {"D", "-D", &params::dm, true},       {"x", "-x", &params::x1, false},
    {"y", "-y", &params::y1, false},
};

// The initial value of parameter k, as a new Parameter set holds it.
constexpr real initial_value(int k) {
    return params{}.*param_table[k].member;
}

// What makes v unusable as the value of a parameter (German, for messages),
// or nullptr: it must be finite and, when positive, > 0.
const char* unusable(real v, bool positive);

} // namespace orv
