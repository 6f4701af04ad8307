// Tick steps and positions.
#include "draw/axes.h"

#include <cmath>

#include "base/number_text.h"
#include "base/steps.h"

namespace orv::draw {

double tick_step(double span, int n) {
    if (!(span > 0) || !std::isfinite(span)) return 1;
    return step_at_least(span / n);
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
    return decimals(step);
}

} // namespace orv::draw
