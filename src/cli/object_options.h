// The options that place a breach and choose and sample the objects of the
// user's layers, as assess and report take them.
#pragma once
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "assess/run.h"
#include "cli/exit.h"

namespace orv::cli {

// The texts of those options as given; empty when left out.
struct object_text {
    std::vector<std::string> sources, layers;
    std::string origin, azimuth, crs, spacing, coords, from;
};

// Adds --origin and --azimuth (required), --crs with its help (required when
// crs_required), --layer, --spacing, --coords and --from to app, in that order.
void add_object_options(CLI::App& app, object_text& t, const char* crs_help, bool crs_required);

// Reads them into r: the breach's frame, the sampling, the level from which
// an object counts as endangered, and the sources with their layers, CRS and
// coordinate columns.
maybe_problem read_object_options(const object_text& t, assess::request& r);

} // namespace orv::cli
