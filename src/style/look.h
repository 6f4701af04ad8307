// One symbol for each way the pictures draw an object, made to fit a
// layer's shape: a fill or none, hatched or not, or crossed out.
#pragma once
#include <string>

#include "map/palette.h"
#include "style/qml.h"

namespace orv::style {

// How features are drawn: their fill (null for none, only the outline),
// hatched over it as the pictures mark what was computed in part or not at
// all (overlay: the hatch alone, drawn over another rule's symbol), or
// crossed out as a row that failed.
struct look {
    const map::colour8* fill = nullptr;
    bool hatched = false;
    bool overlay = false;
    bool crossed = false;
};

// The symbol name of look l for shape s in the colours c: a marker
// (circle) for points, a line with a dark casing for lines, a fill with
// an outline for polygons.
std::string symbol_of(shape s, const look& l, const map::object_colours& c,
                      const std::string& name);

} // namespace orv::style
