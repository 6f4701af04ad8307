// The three stages of the intensity computation. Every quantity keeps the
// operations, operands, order and rounding of the pointwise computation;
// values carried in double cross the stages as double.
#include "model/stages.h"

#include <cmath>

#include "model/point.h"
#include "model/tables.h"

namespace orv {

namespace {

constexpr int32_t n7 = 7;
constexpr int32_t n11 = 11;
constexpr int32_t nx = 27;

// q, v, h and he from the station's factors and the two profile factors.
intensity finish(const station& t, real pq, double pv) {
    // 1e-10 keeps v above 0 beyond the edge of the jet.
    const double qw = t.qx * pq;
    const double vw = t.vx * (pv + 1e-10f);
    intensity r;
    r.q = static_cast<real>(qw);
    r.v = static_cast<real>(vw);
    r.h = static_cast<real>(qw / vw);
    r.he = static_cast<real>(qw / vw + (vw * vw) / 19.62f);
    return r;
}

// One segment of the lateral profile tables: its lower abscissa, and for
// each profile its lower ordinate and the rounded slope the lookup uses.
struct profile_segment {
    real x0, q0, dq, v0, dv;
};

// The segments of both profiles and the factor that turns a position into
// a first guess of its segment.
struct profile_table {
    profile_segment seg[n11 - 1];
    real guess;
};

// Takes each segment's slopes from the lookup itself, queried at the
// segment's lower abscissa, so that they are the very values it computes.
profile_table make_profile_table() {
    profile_table p{};
    for (int32_t k = 1; k < n11; ++k) {
        int32_t st = 0;
        real dq = 0;
        real dv = 0;
        rmint(n11, xp, qp, xp[k - 1], dq, st);
        rmint(n11, xp, vp, xp[k - 1], dv, st);
        p.seg[k - 1] = {xp[k - 1], qp[k - 1], dq, vp[k - 1], dv};
    }
    p.guess = static_cast<real>(n11 - 1) / (xp[n11 - 1] - xp[0]);
    return p;
}

const profile_table profile = make_profile_table();

// The segment (0-based) of yrel in [xp(1), xp(11)] that the bisection of
// the lookup finds: the last one whose lower abscissa is <= yrel (the
// abscissae are strictly ascending). The guess assumes even spacing; the
// two loops make it exact whatever the spacing.
int32_t segment_of(real yrel) {
    int32_t k = static_cast<int32_t>((yrel - xp[0]) * profile.guess);
    if (k > n11 - 2) k = n11 - 2;
    while (k < n11 - 2 && xp[k + 1] <= yrel) ++k;
    while (k > 0 && xp[k] > yrel) --k;
    return k;
}

} // namespace

// Relative volume, reference length, attenuation starts and base, roughness
// and the scales that depend only on the site.
site make_site(const params& p) {
    site s{};
    s.h = p.h;
    s.b = p.b;
    s.slp = p.slp;
    // Lookups 1 and 2 share a status that lookup 3 overwrites before it is read.
    int32_t st = 0;
    real dydx = 0;

    s.vrel = static_cast<real>(p.vol / ((static_cast<double>(p.h) * p.h) * p.b));
    s.root = std::sqrt(static_cast<double>(p.h) * p.b);
    s.lref = static_cast<real>(s.root);

    s.vfac = powf(s.vrel, 0.33333f);
    const real l1 = static_cast<real>(rmint(n7, sl0, qxm, p.slp, dydx, st));
    s.xqa = static_cast<real>(static_cast<double>(l1) * s.vfac);
    s.xva = static_cast<real>(rmint(n7, sl0, vxm, p.slp, dydx, st) * s.vfac);

    // Attenuation base, at least 1 (a NaN quotient also gives 1).
    const double aq = 4000.0f / static_cast<double>(s.vrel);
    s.abase = aq >= 1.0f ? static_cast<real>(aq) : 1.0f;

    s.rrel = static_cast<real>(p.h / (30.0f * static_cast<double>(p.dm)));
    s.rootb = static_cast<real>(std::sqrt(static_cast<double>(p.b)));
    s.cel = static_cast<real>(std::sqrt(static_cast<double>(p.h) * 9.81f));
    s.hrb = static_cast<double>(p.h) * s.rootb;
    return s;
}

// Relative distance, attenuation, lookup distances, roughness factors and the
// centre-line values at x1; stops after the discharge lookup when it is out
// of the Grid.
station make_station(const site& s, real x1) {
    station t{};
    int32_t st = 0;
    t.xrel = static_cast<real>(x1 / s.root);

    // Excess distances beyond the attenuation starts, never negative.
    double dxq = static_cast<double>(t.xrel) - s.xqa;
    if (!(dxq >= 0)) dxq = 0;
    t.expq = static_cast<real>(dxq / s.xqa * 0.2f);
    t.dxv = static_cast<real>(static_cast<double>(t.xrel) - s.xva);
    if (!(t.dxv >= 0)) t.dxv = 0;

    // Attenuation factors and the stretched lookup distances.
    t.fq = powf(s.abase, t.expq);
    t.expv = static_cast<real>(static_cast<double>(t.dxv) / s.xva * 0.143f);
    t.fv = powf(s.abase, t.expv);
    const double xqw = static_cast<double>(t.xrel) * t.fq;
    const double xvw = static_cast<double>(t.xrel) * t.fv;
    t.xq = static_cast<real>(xqw);
    t.xv = static_cast<real>(xvw);

    // Roughness exponents switch at distance 6; a NaN distance takes the far one.
    t.erq = xqw < 6.0f ? 0.0f : 0.1f;
    t.erv = xvw < 6.0f ? 0.1f : 0.25f;
    t.rq = powf(s.rrel, t.erq);
    t.rv = powf(s.rrel, t.erv);

    // Centre-line discharge; its status decides between result and warning.
    t.qc = static_cast<real>(rmint2(nx, n7, x, sl0, q, t.xq, s.slp, st));
    t.st = st;
    if (st > 0) return t;

    // Velocity and lateral extent; their statuses are not examined, so the
    // extrapolated values are used as they come.
    t.vc = static_cast<real>(rmint2(nx, n7, x, sl0, v, t.xv, s.slp, st) + 1e-10f);
    const double yc = rmint2(nx, n7, x, sl0, y, t.xq, s.slp, st);
    t.yc = static_cast<real>(yc);
    t.ywid = yc + 0.5f * static_cast<double>(s.b);
    if (!(t.ywid >= 0.1f)) t.ywid = 0.1f;

    // The factors of q and v up to the lateral profile, grouped as in the
    // full products so that multiplying by the profile last changes nothing.
    t.qx = (s.hrb * t.rq) * t.qc;
    t.vx = (static_cast<double>(s.cel) * t.rv) * t.vc;
    return t;
}

// Lateral profile at y1 and the four results. Kept out of line so that the
// pointwise computation and the fallback of make_result_scaled run the very
// same instructions.
[[gnu::noinline]] intensity make_result(const site& s, const station& t, real y1, lateral* lat) {
    int32_t st = 0;
    real dydx = 0;
    // The division uses the rounded reference length.
    const real yrel = static_cast<real>(((static_cast<double>(y1) / s.lref) * t.fq) / t.ywid);
    const real pq = static_cast<real>(rmint(n11, xp, qp, yrel, dydx, st));
    const double pv = rmint(n11, xp, vp, yrel, dydx, st);
    if (lat) *lat = {yrel, pq, pv};
    return finish(t, pq, pv);
}

// y1 over the rounded reference length, the first step of yrel.
double lateral_scale(const site& s, real y1) {
    return static_cast<double>(y1) / s.lref;
}

namespace {

// True when every value of station t that the lateral stage meets is finite.
bool finite_station(const station& t) {
    using std::isfinite;
    return isfinite(t.fq) && isfinite(t.ywid) && isfinite(t.qx) && isfinite(t.vx);
}

// The lateral stage with one search for both profiles, for a finite a and a
// finite station: then no operation sees two NaNs, whose order would pick
// the NaN that comes out, and the result cannot depend on how the compiler
// arranged the operands. Inside the table a profile factor is formed as the
// lookup forms it (lower ordinate plus offset times the rounded slope);
// outside it is the end ordinate.
inline intensity fast_result(const station& t, double a) {
    const real yrel = static_cast<real>((a * t.fq) / t.ywid);
    real pq;
    double pv;
    if (yrel < xp[0]) {
        pq = qp[0];
        pv = vp[0];
    } else if (yrel > xp[n11 - 1]) {
        pq = qp[n11 - 1];
        pv = vp[n11 - 1];
    } else {
        const profile_segment& g = profile.seg[segment_of(yrel)];
        const double d = static_cast<double>(yrel) - g.x0;
        pq = static_cast<real>(static_cast<double>(g.q0) + d * static_cast<double>(g.dq));
        pv = static_cast<double>(g.v0) + d * static_cast<double>(g.dv);
    }
    return finish(t, pq, pv);
}

} // namespace

// The shared search where everything is finite, else make_result itself.
intensity make_result_scaled(const site& s, const station& t, real y1, double a) {
    if (!(std::isfinite(a) && finite_station(t))) return make_result(s, t, y1);
    return fast_result(t, a);
}

// One row: a once, then per station the fast stage, make_result where a
// value is not finite, or no result where the station has a status.
void make_row(const site& s, const station* st, std::size_t n, real y1, real* q, real* v, real* h,
              real* he, int32_t* status) {
    const double a = lateral_scale(s, y1);
    const bool fa = std::isfinite(a);
    const intensity none = no_result();
    for (std::size_t i = 0; i < n; ++i) {
        const station& t = st[i];
        const intensity r = t.st != 0                 ? none
                            : fa && finite_station(t) ? fast_result(t, a)
                                                      : make_result(s, t, y1);
        q[i] = r.q;
        v[i] = r.v;
        h[i] = r.h;
        he[i] = r.he;
        status[i] = t.st;
    }
}

} // namespace orv
