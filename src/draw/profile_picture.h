// The picture of a profile: q, v, h and he against x in four aligned panels.
#pragma once
#include <cstdint>
#include <vector>

#include <cairo.h>

#include "model/level.h"
#include "model/params.h"
#include "model/stages.h"

namespace orv::draw {

// What a profile picture shows: the site (its slope perhaps corrected, y1
// the lateral distance as given), thresholds, |y| and the samples at ascending xs with
// their statuses and results.
struct profile_view {
    params site;
    bool corrected = false;
    levels lv;
    real y = 0;
    double step = 1;
    std::vector<real> xs;
    std::vector<int32_t> st;
    std::vector<intensity> res;
};

// Draws the profile on a width x height page.
void draw_profile(cairo_t* cr, double width, double height, const profile_view& v);

// Where labels of widths w end on the right, their lines at heights y from
// the top down: at right, or gap left of the label above when their lines lie
// less than near apart in height, so that no two overlap.
std::vector<double> label_ends(const std::vector<double>& y, const std::vector<double>& w,
                               double right, double near, double gap);

} // namespace orv::draw
