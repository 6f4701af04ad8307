// The intensity computation of the outflow model and its parameter corrections.
#include "model/intensity.h"

#include <cmath>

#include "model/tables.h"

namespace orv {

namespace {

constexpr int32_t n7 = 7;
constexpr int32_t n11 = 11;
constexpr int32_t nx = 27;

} // namespace

// Computes q, v, h, he at the point (x1, y1) for the Parameter set p. Values
// marked as floats are rounded where they are formed; the rest stays double.
intensity_outcome compute_intensity(const params& p, intensity_trace* tr) {
    intensity_trace t{};
    intensity_outcome o{};
    // All lookups share one status and one slope; only lookup 3's status counts.
    int32_t st = 0;
    real dydx = 0;

    // Relative volume and reference length.
    t.vrel = static_cast<real>(p.vol / ((static_cast<double>(p.h) * p.h) * p.b));
    const double root = std::sqrt(static_cast<double>(p.h) * p.b);
    t.lref = static_cast<real>(root);
    t.xrel = static_cast<real>(p.x1 / root);

    // Attenuation starts of discharge and velocity.
    t.vfac = powf(t.vrel, 0.33333f);
    const real l1 = static_cast<real>(rmint(n7, sl0, qxm, p.slp, dydx, st));
    t.xqa = static_cast<real>(static_cast<double>(l1) * t.vfac);
    t.xva = static_cast<real>(rmint(n7, sl0, vxm, p.slp, dydx, st) * t.vfac);

    // Attenuation base, at least 1 (a NaN quotient also gives 1).
    const double aq = 4000.0f / static_cast<double>(t.vrel);
    t.abase = aq >= 1.0f ? static_cast<real>(aq) : 1.0f;

    // Excess distances beyond the attenuation starts, never negative.
    double dxq = static_cast<double>(t.xrel) - t.xqa;
    if (!(dxq >= 0)) dxq = 0;
    t.expq = static_cast<real>(dxq / t.xqa * 0.2f);
    t.dxv = static_cast<real>(static_cast<double>(t.xrel) - t.xva);
    if (!(t.dxv >= 0)) t.dxv = 0;

    // Attenuation factors and the stretched lookup distances.
    t.fq = powf(t.abase, t.expq);
    t.expv = static_cast<real>(static_cast<double>(t.dxv) / t.xva * 0.143f);
    t.fv = powf(t.abase, t.expv);
    const double xqw = static_cast<double>(t.xrel) * t.fq;
    const double xvw = static_cast<double>(t.xrel) * t.fv;
    t.xq = static_cast<real>(xqw);
    t.xv = static_cast<real>(xvw);

    // Roughness exponents switch at distance 6; a NaN distance takes the far one.
    t.erq = xqw < 6.0f ? 0.0f : 0.1f;
    t.erv = xvw < 6.0f ? 0.1f : 0.25f;
    t.rrel = static_cast<real>(p.h / (30.0f * static_cast<double>(p.dm)));
    t.rootb = static_cast<real>(std::sqrt(static_cast<double>(p.b)));
    t.rq = powf(t.rrel, t.erq);
    t.cel = static_cast<real>(std::sqrt(static_cast<double>(p.h) * 9.81f));
    t.rv = powf(t.rrel, t.erv);

    // Centre-line discharge; its status decides between result and warning.
    t.qc = static_cast<real>(rmint2(nx, n7, x, sl0, q, t.xq, p.slp, st));
    o.st = st;
    o.xq = t.xq;
    if (st > 0) {
        if (tr) *tr = t;
        return o;
    }

    // Velocity and lateral extent; their statuses are not examined, so the
    // extrapolated values are used as they come.
    t.vc = static_cast<real>(rmint2(nx, n7, x, sl0, v, t.xv, p.slp, st) + 1e-10f);
    t.ywid = rmint2(nx, n7, x, sl0, y, t.xq, p.slp, st) + 0.5f * static_cast<double>(p.b);
    if (!(t.ywid >= 0.1f)) t.ywid = 0.1f;

    // Lateral profile; the division uses the rounded reference length.
    t.yrel = static_cast<real>(((static_cast<double>(p.y1) / t.lref) * t.fq) / t.ywid);
    t.pq = static_cast<real>(rmint(n11, xp, qp, t.yrel, dydx, st));
    t.pv = rmint(n11, xp, vp, t.yrel, dydx, st);

    // Result; 1e-10 keeps v above 0 beyond the edge of the jet.
    const double qw = (((static_cast<double>(p.h) * t.rootb) * t.rq) * t.qc) * t.pq;
    const double vw = ((static_cast<double>(t.cel) * t.rv) * t.vc) * (t.pv + 1e-10f);
    o.res.q = static_cast<real>(qw);
    o.res.v = static_cast<real>(vw);
    o.res.h = static_cast<real>(qw / vw);
    o.res.he = static_cast<real>(qw / vw + (vw * vw) / 19.62f);
    if (tr) *tr = t;
    return o;
}

// Moves x1 or slp back into the Grids after a warning with status o.st.
void correct_params(params& p, const intensity_outcome& o) {
    switch (o.st) {
    case 1: {
        // Scale the distance so that the next lookup distance lands on x(1);
        // a NaN or tiny lookup distance counts as 0.01.
        const real d = o.xq > 0.01f ? o.xq : 0.01f;
        p.x1 = static_cast<real>(static_cast<double>(p.x1) / d * x[0]);
        break;
    }
    case 2:
        // Cap the distance at 100 m; a NaN distance becomes 100 as well.
        if (!(p.x1 <= 100.0f)) p.x1 = 100.0f;
        break;
    case 3: p.slp = sl0[0]; break;
    case 4: p.slp = sl0[n7 - 1]; break;
    default: break;
    }
}

} // namespace orv
