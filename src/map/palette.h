// The colours of the danger zones as 8-bit sRGB, for outputs that carry
// their own style (a raster's colour table, a layer's style) and must look
// like the pictures.
#pragma once
#include <cstdint>

namespace orv::map {

// One colour, components 0 to 255.
struct colour8 {
    uint8_t r, g, b;
};

// Level 0 to 3; the ground and hatching of the zones without a result
// (near the breach, beyond the tables); the area above the breach.
struct zone_colours {
    colour8 level[4];
    colour8 no_result;
    colour8 hatch;
    colour8 upstream;
};

// The judged objects as the pictures draw them over a map: the fill of
// level 0 to 3, the grey of objects without a result, the hatch over those
// computed in part or not at all, and their outline.
struct object_colours {
    colour8 level[4];
    colour8 none;
    colour8 hatch;
    colour8 outline;
};

} // namespace orv::map
