// Points one after another, as rows of a table give them: the site stage
// runs again only when a site value changes, the distance stage only when x
// or the site changes; every result bit for bit evaluate()'s.
#pragma once
#include <cstdint>

#include "model/level.h"
#include "model/params.h"
#include "model/point.h"
#include "model/stages.h"

namespace orv {

// What a row gives: the status (0 to 5), the results (NaN unless status 0)
// and the danger level.
struct row_result {
    int32_t st;
    intensity res;
    int level;
};

// True when the five site values of a and b have the same bits.
bool same_site(const params& a, const params& b);

class row_evaluator {
  public:
    // site_varies: the site values may change from row to row (else the
    // site of base holds for every row).
    row_evaluator(const params& base, const levels& lv, bool site_varies);

    // The row with the site values of p at the point (x, y).
    row_result run(const params& p, real x, real y);

  private:
    levels levels_;
    bool site_varies_;
    params site_values_; // the values the site stage was computed from
    site site_;
    uint64_t site_generation_ = 0;
    bool have_station_ = false;
    uint32_t station_x_bits_ = 0;
    uint64_t station_generation_ = 0; // the site generation of the station
    station station_{};
};

} // namespace orv
