// A layer's features read one at a time with GDAL's failures caught: a
// geometry that cannot be read is an error of its feature, never "empty".
#pragma once
#include <string>
#include <vector>

#include "assess/source.h"

namespace orv::assess {

// Reads the next feature of l into f (the caller's to destroy) with its
// parts in the site's system; false at the end of the layer. why is empty,
// or says why the feature's geometry cannot be read: GDAL failed while
// reading it, its source holds a geometry that came out as none, or
// read_parts refuses it. A layer that ends on a failure (a file cut short)
// gives false with why set.
bool next_feature(const layer_in& l, double spacing, OGRFeature*& f, std::vector<part>& parts,
                  std::string& why);

// True when f has no geometry although its source text holds one: a CSV's
// WKT column or one of its --coords columns filled, a GeoJSON geometry that
// is neither null nor empty.
bool geometry_lost(const layer_in& l, const OGRFeature& f);

} // namespace orv::assess
