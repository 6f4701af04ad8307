// Legend rows shared by the map pictures: a framed swatch with its text,
// bold headings, the levels, the zones without a result and the breach,
// each legend drawing them at sizes of its own.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include <cairo.h>

#include "model/level.h"

namespace orv::draw {

// A line of text in a legend, in text units u: its font size, its
// baseline below the top of its row, and the row's height.
struct line_look {
    double size, dy, step;
};

// The sizes of one legend: a row's label (the step a row without detail),
// the detail line under it (the step a row with one), the warning under
// the zones without a result (dy: its first line; warning_next: its second),
// the headings' font, the breach row's height.
struct legend_look {
    line_look label, detail, warning;
    double warning_next, heading_size, breach_step;
    bool below_inline; // "Stufe 0 (darunter)" on one line, not "darunter" under it
};

// Fills the swatch at (x, y) of size w x h.
using swatch_fill = std::function<void(double x, double y, double w, double h)>;

// One row at (x, y): the swatch drawn by fill and framed, its label and,
// when not empty, a detail line under it; returns the y below the row.
double legend_row(cairo_t* cr, const legend_look& l, double x, double y, double u,
                  const std::string& label, const std::string& detail, const swatch_fill& fill);

// A bold heading at (x, y); returns the y below it.
double legend_heading(cairo_t* cr, const legend_look& l, double x, double y, double u,
                      const std::string& s);

// The heading and rows of levels 3 to 1 with their rules (swatches at the
// given opacity), and level 0 without a swatch; returns the y below them.
double level_rows(cairo_t* cr, const legend_look& l, double x, double y, double u, const levels& lv,
                  double opacity);

// The heading and rows of the zones without a result (near the breach,
// beyond the tables, above the breach when upstream) and the warning that
// they are no zones without danger; returns the y below it.
double no_result_rows(cairo_t* cr, const legend_look& l, double x, double y, double u,
                      bool upstream);

// The breach: a short bar and its name; returns the y below it.
double breach_row(cairo_t* cr, const legend_look& l, double x, double y, double u);

// "Zellgrösse 2 m, 250 × 120 Zellen" with the cell size as given.
std::string cells_line(const std::string& cell, std::size_t nx, std::size_t ny);

} // namespace orv::draw
