// The assessment of the user's layers: every feature sampled and judged,
// the layers written with their judgement, and the figures of the summary.
#pragma once
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "assess/judge.h"
#include "assess/source.h"
#include "map/palette.h"

namespace orv::assess {

// Everything a run needs, read and checked by the caller.
struct request {
    source_request src;
    double spacing = 1;
    site s{};
    levels lv;
    map::georef g;
    int from = 1;      // the level that counts as endangered
    std::string label; // the field that names features; empty for the feature id
    bool keep_going = false;
    std::size_t keep = 0;      // features kept per list of the summary, 0 for all
    std::string out;           // output file, empty for none
    bool worst_points = false; // with out: each object's worst point as a layer of its own
    // The colours of the output's style (the pictures'); none for no style.
    std::optional<map::object_colours> colours;
    unsigned threads = 0; // 0 for all cores
    // Told about each feature skipped with keep_going.
    std::function<void(const std::string&)> warn;
    // Told about each feature once judged, in input order: the index of its
    // layer, the feature, its parts in the site's system and its judgement.
    std::function<void(std::size_t, const OGRFeature&, const std::vector<part>&, const verdict&)>
        each;
};

// A feature as the summary lists it.
struct listed {
    std::int64_t fid = 0;
    std::string label;
    int level = no_level;
    const char* crit = nullptr;
    real h = 0, q = 0, x = 0;
    double east = 0, north = 0; // the worst point in the site's system
    std::uint32_t statuses = 0; // why it has no result: bit k for status k
    state st = state::empty;
    bool failed = false;     // skipped with keep_going
    std::uint64_t order = 0; // position in its layer
};

// The figures of one layer.
struct layer_summary {
    std::string path;
    std::string name; // as written
    std::uint64_t features = 0;
    std::uint64_t levels[4] = {};
    std::uint64_t states[5] = {}; // by state, in the order of enum state
    // The features of each kind: how many, and the first (endangered: the
    // most endangered) of them, all or as many as the request keeps.
    std::uint64_t n_endangered = 0, n_open = 0, n_settled = 0;
    std::vector<listed> endangered; // level >= from, sorted
    std::vector<listed> open;    // without that level, but open at an end of the tables or skipped
    std::vector<listed> settled; // without result, yet not open: upstream, empty, or below
                                 // that level at the ends of the tables
};

// How the run ended.
enum class ending { ok, bad_input, usage, skipped };

struct outcome {
    ending end = ending::ok;
    std::string message; // German, for bad_input and usage
    std::vector<layer_summary> layers;
    std::uint64_t samples = 0;
    const char* verdict = "no"; // "yes", "open" or "no"
    // The distance from the breach to the nearest object with a geometry,
    // and how far from the breach the tables reach (their end along the jet
    // plus the jet's widest half-width); infinity when unknown.
    double nearest = INFINITY;
    double reach = INFINITY;
    // No coordinate system tells whether the breach and the objects share
    // one, and none lies within the tables' reach: the verdict is open.
    bool unplaced = false;
};

// The distance to the nearest object when every object lies beyond the
// reach of the tables: the verdict stands, but the user is to be told.
std::optional<double> beyond_reach(const outcome& o);

// How far from the breach the tables reach (their end along the jet plus
// the jet's widest half-width); infinity when the site's distances do not
// pass through them.
double reach_of(const site& s);

// Runs the assessment.
outcome assess(const request& r);

} // namespace orv::assess
