// The intensity computation in three stages: site, distance, lateral position.
#pragma once
#include <cstddef>
#include <cstdint>

#include "model/params.h"

namespace orv {

// The Intensity result, always in this order.
struct intensity {
    real q;  // specific discharge [m2/s]
    real v;  // flow velocity [m/s]
    real h;  // flow depth [m]
    real he; // energy head [m]
};

// What depends only on the site: h, b, vol, slp and dm.
struct site {
    real h, b, slp;
    real vrel, lref, vfac, xqa, xva, abase, rrel, rootb, cel;
    double root; // sqrt(h * b), unrounded
    double hrb;  // h * rootb, the first factor of q
};

// What depends on the distance x1 as well. st is the status of the
// discharge lookup; the fields after it are set only when st is 0.
struct station {
    real xrel, expq, dxv, expv, fq, fv, xq, xv, erq, erv, rq, rv, qc;
    int32_t st;
    real vc;
    real yc;     // lateral extent from the Grid, rounded (for traces only)
    double ywid; // effective half-width
    double qx;   // ((h * rootb) * rq) * qc, the factors of q before the profile
    double vx;   // (cel * rv) * vc, the factors of v before the profile
};

// Intermediate quantities of the lateral stage.
struct lateral {
    real yrel, pq;
    double pv;
};

// Computes the site stage from the first five parameters of p.
site make_site(const params& p);

// Computes the distance stage at x1 below the breach.
station make_station(const site& s, real x1);

// Computes the result at y1 beside the centre line; st.st must be 0.
intensity make_result(const site& s, const station& st, real y1, lateral* lat = nullptr);

// The part of the lateral stage that depends on y1 and the site only: y1
// divided by the rounded reference length, shared by a row of points.
double lateral_scale(const site& s, real y1);

// The result at y1 whose lateral_scale is a: bit for bit make_result(s,
// st, y1), with one search of the profile tables for both profile factors
// and their slopes taken from a prepared table.
intensity make_result_scaled(const site& s, const station& st, real y1, double a);

// The lateral stage along a row at y1 (>= 0 or NaN) beside the stations
// st[0..n): where a station's status is 0 the result bit for bit as
// make_result gives it, elsewhere NaN; each status copied to status[i].
void make_row(const site& s, const station* st, std::size_t n, real y1, real* q, real* v, real* h,
              real* he, int32_t* status);

} // namespace orv
