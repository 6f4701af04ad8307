// The danger zones of one dam of a register as polygons in the site's
// system: its map on the lattice of orvalis map, polygonised.
#pragma once
#include <string>

#include "inventory/dam.h"
#include "vector/zones.h"

namespace orv::inventory {

// The zones of dam d (computed as res with rules r) in the system wkt:
// the cells of the rotated north-up raster that orvalis map writes for the
// same site at the cell size r.cell, one multipolygon per zone. False with
// a German reason in why.
bool dam_zones(const dam_site& d, const dam_result& res, const dam_rules& r, const std::string& wkt,
               vector::zone_shapes& z, std::string& why);

} // namespace orv::inventory
