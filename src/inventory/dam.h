// One dam of a register: its map figures, the level where the tables end,
// and what its objects make of it.
#pragma once
#include <cstdint>
#include <string>

#include "map/frame.h"
#include "map/summary.h"
#include "model/level.h"
#include "model/params.h"

namespace orv::inventory {

// A dam's site: the five site values of p, the breach and the jet's direction.
struct dam_site {
    params p;
    map::georef g;
};

// How a dam's objects answer the question: does it need supervision?
enum class answer { no, yes, open };

// The output's key of an answer.
const char* answer_key(answer a);

// What every dam is computed with.
struct dam_rules {
    levels lv;
    double cell = 2;      // the map's cell size in metres
    bool correct = false; // a slope outside the tables is corrected, not refused
    int from = 1;         // the answer is yes from this level on
};

// A computed dam.
struct dam_result {
    params p;                  // the site values computed with (the slope perhaps corrected)
    map::figures fig;          // the map's zones per level, rounded as the summary prints them
    map::axis x, y;            // the map's grid
    int cut = no_level;        // the level on the centre line at the last Real x before far
    double far = 0;            // where the tables end on the centre line
    double near = 0;           // where results begin on the centre line
    std::uint64_t obj[4] = {}; // objects at exactly level 0, 1, 2, 3
    std::uint64_t open = 0;    // objects that would make the answer open
    answer ans = answer::no;
    std::string note;  // the slope correction, when --correct applied one
    std::string names; // the labels of the objects at level from or above, worst first
};

// Computes the site part of dam d with rules r: the slope check, the map at
// the common cell size and its figures, the cut level. Objects are counted
// by the caller. False with a German reason in why.
bool compute_map(const dam_site& d, const dam_rules& r, dam_result& out, std::string& why);

} // namespace orv::inventory
