// The three stages of the intensity computation. Every quantity keeps the
// operations, operands, order and rounding of the pointwise computation;
// values carried in double cross the stages as double.
#include "model/stages.h"

#include <cmath>

#include "model/tables.h"

namespace orv {

namespace {

constexpr int32_t n7 = 7;
constexpr int32_t n11 = 11;
constexpr int32_t nx = 27;

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

// Lateral profile at y1 and the four results.
intensity make_result(const site& s, const station& t, real y1, lateral* lat) {
    int32_t st = 0;
    real dydx = 0;
    // The division uses the rounded reference length.
    const real yrel = static_cast<real>(((static_cast<double>(y1) / s.lref) * t.fq) / t.ywid);
    const real pq = static_cast<real>(rmint(n11, xp, qp, yrel, dydx, st));
    const double pv = rmint(n11, xp, vp, yrel, dydx, st);

    // 1e-10 keeps v above 0 beyond the edge of the jet.
    const double qw = t.qx * pq;
    const double vw = t.vx * (pv + 1e-10f);
    intensity r;
    r.q = static_cast<real>(qw);
    r.v = static_cast<real>(vw);
    r.h = static_cast<real>(qw / vw);
    r.he = static_cast<real>(qw / vw + (vw * vw) / 19.62f);
    if (lat) *lat = {yrel, pq, pv};
    return r;
}

} // namespace orv
