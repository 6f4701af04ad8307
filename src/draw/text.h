// Text on a picture: fonts, alignment and a halo for text over colours.
#pragma once
#include <string>

#include <cairo.h>

namespace orv::draw {

// Horizontal alignment of a text at its anchor.
enum class align { left, centre, right };

// Selects the sans-serif font at size, bold or not.
void font(cairo_t* cr, double size, bool bold = false);

// The advance width of s in the current font.
double text_width(cairo_t* cr, const std::string& s);

// Draws s with its baseline at y, aligned at x, in the current source.
void text(cairo_t* cr, double x, double y, const std::string& s, align a = align::left);

// Draws s in black on a white halo, readable over any colour.
void halo_text(cairo_t* cr, double x, double y, const std::string& s, align a = align::left);

// Draws s reading upwards, centred on (x, y) along its length, baseline at x.
void text_up(cairo_t* cr, double x, double y, const std::string& s);

} // namespace orv::draw
