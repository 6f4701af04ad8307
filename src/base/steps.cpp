// Readable steps from the power of ten below a value.
#include "base/steps.h"

#include <cmath>
#include <initializer_list>

namespace orv {

namespace {

// Whether v can have a readable step: positive and finite.
bool usable(double v) {
    return v > 0 && std::isfinite(v);
}

// The power of ten at or below v > 0, as pow gives it.
double decade(double v) {
    return std::pow(10.0, std::floor(std::log10(v)));
}

} // namespace

double step_at_least(double raw) {
    if (!usable(raw)) return 1;
    const double p = decade(raw);
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= raw) return m * p;
    return 10 * p;
}

double step_nearest(double raw) {
    if (!usable(raw)) return 1;
    const int k = static_cast<int>(std::floor(std::log10(raw)));
    double best = 1;
    double miss = INFINITY;
    for (int m : {1, 2, 5, 10}) {
        // Dividing by an exact power of ten gives the nearest double to 0.2.
        const double c = k >= 0 ? m * std::pow(10.0, k) : m / std::pow(10.0, -k);
        const double d = std::fabs(std::log(c / raw));
        if (d < miss) best = c, miss = d;
    }
    return best;
}

// The small tolerances keep a value that is a readable number up to the
// last bit (9.999999999999998 for 10) at that number.
double round_up_readable(double v) {
    if (!usable(v)) return 1;
    const double p = decade(v);
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * p >= v * (1 - 1e-12)) return m * p;
    return 10 * p;
}

double round_down_readable(double v) {
    if (!usable(v)) return 1;
    const double p = decade(v);
    for (double m : {5.0, 2.0, 1.0})
        if (m * p <= v * (1 + 1e-12)) return m * p;
    return p;
}

} // namespace orv
