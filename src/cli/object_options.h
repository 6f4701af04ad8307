// The options that place a breach in the world and choose and sample the
// objects of the user's layers, as map, assess and report take them.
#pragma once
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <ogr_spatialref.h>

#include "assess/run.h"
#include "cli/exit.h"
#include "map/frame.h"

namespace orv::cli {

// The texts of --origin, --azimuth and --crs as given; empty when left out.
struct frame_text {
    std::string origin, azimuth, crs;
};

// How a command takes the breach's place in the world: the help texts of
// --origin and --crs, and whether --origin and --azimuth must be given
// (assess, report; --crs then as crs_required says) or, left optional,
// come all three together (map).
struct frame_use {
    const char* origin_help;
    const char* crs_help;
    bool required;
    bool crs_required;
};

// Adds --origin, --azimuth and --crs to app, in that order.
void add_frame_options(CLI::App& app, frame_text& t, const frame_use& u);

// Reads --origin and --azimuth into g.
maybe_problem read_frame(const frame_text& t, map::georef& g);

// Reads --crs (an EPSG code, a definition or a file holding one) into srs
// and the system's WKT; the system must count in metres.
maybe_problem read_crs(const std::string& text, OGRSpatialReference& srs, std::string& wkt);

// The texts of the object options as given; empty when left out.
struct object_text {
    std::vector<std::string> sources, layers;
    frame_text frame;
    std::string spacing, coords, from;
};

// Adds --origin and --azimuth (required), --crs with its help (required when
// crs_required), --layer, --spacing, --coords and --from to app, in that order.
void add_object_options(CLI::App& app, object_text& t, const char* crs_help, bool crs_required);

// Reads them into r: the breach's frame, the sampling, the level from which
// an object counts as endangered, and the sources with their layers, CRS and
// coordinate columns.
maybe_problem read_object_options(const object_text& t, assess::request& r);

} // namespace orv::cli
