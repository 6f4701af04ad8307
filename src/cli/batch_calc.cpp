// One batch row through the model's stages.
#include "cli/batch_calc.h"

#include <cmath>
#include <cstring>
#include <numbers>

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
    const double a = w.azimuth * (std::numbers::pi / 180);
    sin_a_ = std::sin(a);
    cos_a_ = std::cos(a);
}

void row_calc::to_jet(double e, double n, real& x, real& y) const {
    const double de = e - w_.e0;
    const double dn = n - w_.n0;
    x = static_cast<real>(de * sin_a_ + dn * cos_a_);
    y = static_cast<real>(dn * sin_a_ - de * cos_a_);
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
