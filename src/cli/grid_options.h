// The slope check of the map and profile commands.
#pragma once
#include <string>

#include "cli/exit.h"
#include "model/params.h"

namespace orv::cli {

// The slope of p outside the tables: refused (status 1) with the
// calculator's warning text and the corrected value, unless correct, when
// p's slope becomes that value and note says so. given is the slope as given.
maybe_problem check_slope(params& p, bool correct, std::string& note);

} // namespace orv::cli
