// The objects of a run written back, each with the highest level any dam
// of the run gives it and that dam.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "inventory/objects.h"

namespace orv::inventory {

// The highest level of one object so far: ties broken by h, then q, then
// the dam that came first in the register.
struct object_best {
    int level = no_level;
    real h = 0, q = 0;
    std::uint64_t row = 0; // the dam's data row
    std::string dam;       // the dam's id

    // Takes what dam (row, id) made of the object when it is higher.
    void take(const object_hit& hit, std::uint64_t dam_row, const std::string& id);
};

// Creates at path (staged by the caller) every layer of idx under its own name (a repeated name
// gets "_2",
// ...) to path with driver, geometry and attributes unchanged, plus
// orv_level, orv_h, orv_q, orv_dam, orv_row (the dam's data row) and
// orv_fid (the feature's id in its source). False with a German reason.
bool write_objects(const std::string& path, const std::string& driver, const object_index& idx,
                   const std::vector<object_best>& best, std::string& why);

} // namespace orv::inventory
