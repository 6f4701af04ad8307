// The Parameter set: the seven stored values that the prompts show and change.
#pragma once
#include "interp/rmint.h"

namespace orv {

struct params {
    real h = 5;      // head of water behind the breach [m]
    real b = 10;     // breach width [m]
    real vol = 4000; // storage volume [m3]
    real slp = 1;    // bed slope [%]
    real dm = 0.15f; // grain diameter [m]
    real x1 = 100;   // distance from the breach [m]
    real y1 = 0;     // distance from the centre line of the jet [m]
};

// The process-wide Parameter set, with its initial values at start.
params& stored_params();

} // namespace orv
