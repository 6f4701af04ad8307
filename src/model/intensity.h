// Flow intensities at a point below a breach, from the Parameter set.
#pragma once
#include <cstdint>

#include "model/stages.h"

namespace orv {

// Intermediate quantities of one computation, for tests and diagnostics.
struct intensity_trace {
    real vrel, lref, xrel, vfac, xqa, xva, abase, expq, dxv, expv, fq, fv, xq, xv;
    real erq, erv, rrel, rootb, rq, cel, rv, qc, vc, yc;
    double ywid;
    real yrel, pq;
    double pv;
};

// Outcome of one computation: st is the status of the discharge lookup;
// res is valid only when st == 0; xq is kept for the distance correction.
struct intensity_outcome {
    int32_t st;
    intensity res;
    real xq;
};

// Computes the intensities for p; fills tr when it is not null.
intensity_outcome compute_intensity(const params& p, intensity_trace* tr = nullptr);

// Corrects p after a warning with status st (1 to 4) of outcome o.
void correct_params(params& p, const intensity_outcome& o);

} // namespace orv
