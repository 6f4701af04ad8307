// Objects handed over as text (WKT or GeoJSON) made into a layer in memory.
#pragma once
#include <string>

#include "assess/source.h"

class GDALDataset;

namespace orv::assess {

// A dataset in memory with one layer r.given_layer of r.given's objects, in
// their order, each with its index as feature id (the caller's to close);
// null with a German reason naming the source and object when a text is
// no geometry.
GDALDataset* given_dataset(const source_request& r, std::string& why);

} // namespace orv::assess
