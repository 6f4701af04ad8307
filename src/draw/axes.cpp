// Tick steps and positions.
#include "draw/axes.h"

#include <cmath>

#include "map/summary.h"

namespace orv::draw {

double tick_step(double span, int n) {
    if (!(span > 0) || !std::isfinite(span)) return 1;
    const double raw = span / n;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * p >= raw) return m * p;
    return 10 * p;
}

// Counted from integers, so that no tick drifts by repeated addition.
std::vector<double> ticks(double lo, double hi, double step) {
    std::vector<double> t;
    const double k0 = std::ceil(lo / step - 1e-9);
    const double k1 = std::floor(hi / step + 1e-9);
    for (double k = k0; k <= k1 && t.size() < 1000; ++k) t.push_back(k * step);
    return t;
}

int step_decimals(double step) {
    return map::decimals(step);
}

double round_up(double v) {
    if (!(v > 0) || !std::isfinite(v)) return 1;
    const double p = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * p >= v * (1 - 1e-12)) return m * p;
    return 10 * p;
}

double round_down(double v) {
    if (!(v > 0) || !std::isfinite(v)) return 1;
    const double p = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * p <= v * (1 + 1e-12)) return m * p;
    return p;
}

} // namespace orv::draw
