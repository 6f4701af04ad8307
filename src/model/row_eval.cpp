// The memoised row evaluator.
#include "model/row_eval.h"

#include <cstring>

namespace orv {

namespace {

uint32_t bits(real v) {
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

} // namespace

bool same_site(const params& a, const params& b) {
    for (int k = 0; k < n_site_params; ++k)
        if (bits(a.*param_table[k].member) != bits(b.*param_table[k].member)) return false;
    return true;
}

row_evaluator::row_evaluator(const params& base, const levels& lv, bool site_varies)
    : levels_(lv), site_varies_(site_varies), site_values_(base), site_(make_site(base)) {}

row_result row_evaluator::run(const params& p, real x, real y) {
    if (site_varies_ && !same_site(p, site_values_)) {
        site_values_ = p;
        site_ = make_site(p);
        ++site_generation_;
    }
    point_result r{not_downstream, no_result()};
    if (downstream(x)) {
        if (!have_station_ || bits(x) != station_x_bits_ ||
            station_generation_ != site_generation_) {
            station_ = make_station(site_, x);
            have_station_ = true;
            station_x_bits_ = bits(x);
            station_generation_ = site_generation_;
        }
        r = at_station(site_, station_, y);
    }
    return {r.st, r.res, danger_level(r.st, r.res, levels_)};
}

} // namespace orv
