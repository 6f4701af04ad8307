// The options of a map picture in world coordinates: frame, extent,
// background and its opacity, shared by map and report.
#pragma once
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "assess/run.h"
#include "cli/exit.h"
#include "report/world_picture.h"

namespace orv::cli {

// The texts of the picture options as given; empty when left out.
struct picture_text {
    std::string frame, extent, background, opacity;
};

// Adds --extent, --background and --opacity to app, and --frame when jet:
// a jet-frame picture can be asked for.
void add_picture_options(CLI::App& app, picture_text& t, bool jet);

// Adds --background (with its help) and --opacity to app.
void add_background_options(CLI::App& app, picture_text& t, const char* background_help);

// Reads the options into r; jet_frame tells whether the jet's own frame
// was asked for. georef: a georeference was given (without one, only the
// jet frame exists and world options are refused, status 2).
maybe_problem read_picture(const picture_text& t, bool georef, report::world_request& r,
                           bool& jet_frame);

// The texts of the object options of map (as assess takes them).
struct objects_text {
    std::vector<std::string> sources, layers;
    std::string spacing, label, from;
};

// Adds --objects, --layer, --spacing, --label and --from to app.
void add_object_options(CLI::App& app, objects_text& t);

// Reads the object options into r (its site and jet set by the caller);
// objects need a georeference (status 2 without).
maybe_problem read_objects(const objects_text& t, bool georef, assess::request& r);

} // namespace orv::cli
