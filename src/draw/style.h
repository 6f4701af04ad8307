// Colours of the pictures: danger levels, zones without a result, and a
// perceptually uniform colour scale for the quantities.
#pragma once
#include <cstdint>

#include <cairo.h>

#include "map/palette.h"

namespace orv::draw {

// A colour with components from 0 to 1.
struct rgb {
    double r, g, b;
};

// The fill of danger level 1 to 3: light yellow, orange, dark brown, so that
// the order reads in colour, for colour-blind readers and in greyscale
// (lightness about 88, 59, 36 against the white of level 0).
rgb level_colour(int level);

// Zones without a result: light grey ground, darker hatching; above the
// breach a plain grey.
inline constexpr rgb no_result_ground = {0.94, 0.94, 0.94};
inline constexpr rgb hatch_colour = {0.45, 0.45, 0.45};
inline constexpr rgb upstream_colour = {0.80, 0.80, 0.80};

// Objects over a map: the grey of those without a result, the hatch over
// those computed in part or not at all, and their outline.
inline constexpr rgb object_none = {0.72, 0.72, 0.72};
inline constexpr rgb object_hatch = {0.35, 0.35, 0.35};
inline constexpr rgb object_outline = {0.15, 0.15, 0.15};

// The breach and the jet's direction: a dark blue.
inline constexpr rgb breach_colour = {0.05, 0.15, 0.55};

// The colour scale at t from 0 to 1: lightness rising evenly from dark
// violet through blue and green to light yellow (a path through the Oklab
// colour space, chroma reduced where it leaves the screen's gamut), so that
// equal steps look alike and the order survives greyscale.
rgb scale_colour(double t);

// The colour as premultiplied opaque ARGB32 pixel.
uint32_t pixel(const rgb& c);

// The colours above in 8 bits, for outputs styled like the pictures.
map::zone_colours zone_colours();
map::object_colours object_colours();

// Sets c as cairo's source.
void set_colour(cairo_t* cr, const rgb& c, double alpha = 1);

} // namespace orv::draw
