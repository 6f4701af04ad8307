// A report's content computed from its request: the map grid and zones,
// the profile, the assessment of the objects and the input hashes.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "assess/run.h"
#include "map/extent.h"
#include "report/document.h"

namespace orv::report {

// What the command line asks for, read and checked.
struct request {
    assess::request judge; // sources, site, thresholds, jet, K, label
    params p;              // the site's parameters (slope perhaps corrected)
    bool corrected = false;
    real given_slope = 0;
    map::grid_request grid; // --x, --y, --cell
    std::string wkt;        // the picture's system
    world_request picture;  // extent, background, opacity
    std::string title, author, version, command;
    std::time_t date = 0;
    // The inputs' hashes when already known (many reports over the same
    // inputs); null to hash them here.
    const std::vector<std::pair<std::string, std::string>>* hashes = nullptr;
    // The objects already judged by the caller for the map grid it is handed
    // (many reports over objects held in memory); empty to run the assessment.
    std::function<assess::outcome(const map::map_grid&, object_list&)> judged;
};

// How building the content ended: ok, a bad input (status 1), a usage
// error (status 2) or objects skipped (--keep-going, status 3).
struct built {
    assess::ending end = assess::ending::ok;
    std::string message;
};

// The files a report hashes: the sources and the background.
std::vector<std::string> report_inputs(const request& r);

// Computes everything the report shows into c; the pointers of c.map
// point into c and hold.
built build(const request& r, content& c, map::map_image& image, std::vector<int32_t>& columns);

} // namespace orv::report
