// What the map and profile pictures share on a page: the unit of lengths,
// the margin, the title line and the site it names.
#pragma once
#include <string>

#include <cairo.h>

#include "model/params.h"

namespace orv::draw {

// A width x height page: u, the unit of every length and font size (a
// 55th of the shorter side, from 6 to 60), and the margin around it all.
struct page {
    double width, height;
    double u, margin;
};

// The page of a picture of width x height.
page make_page(double width, double height);

// Draws title in black, bold at size, shrunk to fit between the margins,
// its baseline 1.2 u below the top margin.
void draw_title(cairo_t* cr, const page& pg, const std::string& title, double size);

// The site's parameters as the titles name them: "H = 5 m, B = 10 m,
// Vol = 4000 m³, S = 1 %, D = 0.15 m", the slope marked when corrected.
std::string site_line(const params& p, bool corrected);

} // namespace orv::draw
