// The objects of a run written back, each with the highest level any dam
// of the run gives it and that dam.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "inventory/objects.h"

namespace orv::inventory {

// The highest level of one object so far: ties broken by h, then q, then
// the dam that came first in the register; and the dams for which it is open.
struct object_best {
    int level = no_level;
    real h = 0, q = 0;
    double east = 0, north = 0;             // the worst point in the site's system
    std::uint64_t row = 0;                  // the dam's data row
    std::string dam;                        // the dam's id
    bool judged = false;                    // some dam gave it a level or left it open
    assess::state st = assess::state::none; // with the highest level, else with the first open dam
    std::uint64_t open = 0;                 // dams whose answer it leaves open
    std::string why;                        // why, for the first of them ("Anlage ID: ...")

    // Takes what dam (row, id) made of the object.
    void take(const object_hit& hit, std::uint64_t dam_row, const std::string& id);
};

// Creates at path (staged by the caller) every layer of idx under its own
// name (a repeated name gets "_2", ...) with driver, geometry and attributes
// unchanged, plus orv_level, orv_h, orv_q, orv_dam, orv_row (the dam's data
// row), orv_fid (the feature's id in its source), orv_state, orv_open and
// orv_why; a value no dam computed is empty. An object skipped as unreadable
// is open for each of the dams computed. With points (a path; path itself
// for a format of many layers) each object with a level also gets its worst
// point in the layer schlimmste_punkte, labelled by its feature id. False
// with a German reason.
bool write_objects(const std::string& path, const std::string& driver, const object_index& idx,
                   const std::vector<object_best>& best, std::uint64_t dams,
                   const std::string& points, std::string& why);

} // namespace orv::inventory
