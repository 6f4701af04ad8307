// Option values of the map and profile commands: ranges, sizes, world
// coordinates and the slope check.
#pragma once
#include <optional>
#include <string>

#include "cli/exit.h"
#include "map/extent.h"
#include "model/params.h"

namespace orv::cli {

// Reads "MIN:MAX" (two finite numbers, MIN < MAX, read as doubles) given to
// option name; empty text leaves r empty.
maybe_problem read_range(const std::string& text, const char* name, std::optional<map::range>& r);

// Reads a finite number > 0 given to option name as a double; empty text
// leaves v empty.
maybe_problem read_size(const std::string& text, const char* name, std::optional<double>& v);

// Reads "E,N" (two finite numbers, read as doubles) given to option name.
maybe_problem read_point(const std::string& text, const char* name, double& e, double& n);

// Reads a finite number given to option name as a double.
maybe_problem read_finite(const std::string& text, const char* name, double& v);

// The slope of p outside the tables: refused (status 1) with the
// calculator's warning text and the corrected value, unless correct, when
// p's slope becomes that value and note says so. given is the slope as given.
maybe_problem check_slope(params& p, bool correct, std::string& note);

// The text of a number as the picture and messages show it.
std::string shown(double v);

} // namespace orv::cli
