// One batch row through the model's stages.
#include "cli/batch_calc.h"

#include <cmath>
#include <cstring>

#include "model/point.h"

namespace orv::cli {

namespace {

uint32_t bits(real v) {
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

} // namespace

bool same_site(const params& a, const params& b) {
    return bits(a.h) == bits(b.h) && bits(a.b) == bits(b.b) && bits(a.vol) == bits(b.vol) &&
           bits(a.slp) == bits(b.slp) && bits(a.dm) == bits(b.dm);
}

row_calc::row_calc(const params& base, const levels& lv, bool site_columns)
    : lv_(lv), site_columns_(site_columns), site_p_(base), s_(make_site(base)) {}

void row_calc::set_world(const world_frame& w) {
    w_ = w;
}

void row_calc::to_jet(double e, double n, real& x, real& y) const {
    // The map's formula, in double; rounded to Reals only here.
    const map::jet_point p = map::to_jet(w_, e, n);
    x = static_cast<real>(p.x);
    y = static_cast<real>(p.y);
}

row_result row_calc::run(const params& p, real x, real y) {
    row_result r;
    r.x = x;
    r.y = y;
    if (site_columns_ && !same_site(p, site_p_)) {
        site_p_ = p;
        s_ = make_site(p);
        ++site_gen_;
    }
    r.res = no_result();
    if (r.x <= 0) {
        r.st = not_downstream;
    } else {
        if (!have_station_ || bits(r.x) != x_bits_ || station_gen_ != site_gen_) {
            t_ = make_station(s_, r.x);
            have_station_ = true;
            x_bits_ = bits(r.x);
            station_gen_ = site_gen_;
        }
        r.st = t_.st;
        if (r.st == 0) {
            // The grid's lateral stage: one search of the profile tables,
            // bit for bit make_result.
            const real ay = std::fabs(r.y);
            r.res = make_result_scaled(s_, t_, ay, lateral_scale(s_, ay));
        }
    }
    r.level = danger_level(r.st, r.res, lv_);
    return r;
}

} // namespace orv::cli
