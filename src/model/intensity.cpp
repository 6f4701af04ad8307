// The intensity computation of the outflow model and its parameter corrections.
#include "model/intensity.h"

#include "model/tables.h"

namespace orv {

// Computes q, v, h, he at the point (x1, y1) for the Parameter set p by the
// three stages in turn.
intensity_outcome compute_intensity(const params& p, intensity_trace* tr) {
    const site s = make_site(p);
    const station t = make_station(s, p.x1);
    intensity_outcome o{};
    o.st = t.st;
    o.xq = t.xq;
    lateral l{};
    if (t.st == 0) o.res = make_result(s, t, p.y1, &l);
    if (tr) {
        *tr = {s.vrel, s.lref, t.xrel, s.vfac, s.xqa,  s.xva,  s.abase, t.expq,  t.dxv, t.expv,
               t.fq,   t.fv,   t.xq,   t.xv,   t.erq,  t.erv,  s.rrel,  s.rootb, t.rq,  s.cel,
               t.rv,   t.qc,   t.vc,   t.yc,   t.ywid, l.yrel, l.pq,    l.pv};
    }
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
    case 4: p.slp = sl0[6]; break;
    default: break;
    }
}

} // namespace orv
