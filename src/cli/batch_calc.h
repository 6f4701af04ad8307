// The computation of one batch row, with the site and distance stages kept
// while the values they depend on stay the same.
#pragma once
#include <cstdint>

#include "map/frame.h"
#include "model/level.h"
#include "model/params.h"
#include "model/stages.h"

namespace orv::cli {

// The jet in world coordinates: the origin (the breach) and the direction
// of the jet in degrees clockwise from north; the map's frame.
using world_frame = map::georef;

// What a row gives: the status (0 to 5), the results (NaN unless status
// 0), the danger level, and the point in the jet's frame.
struct row_result {
    int32_t st;
    intensity res;
    int level;
    real x, y;
};

// True when the five site values of a and b have the same bits.
bool same_site(const params& a, const params& b);

// Computes rows as evaluate() does, bit for bit. The site stage runs again
// only when a site value differs from the last row's, the distance stage
// only when x or the site differs.
class row_calc {
  public:
    // site_columns: some site value can change from row to row.
    row_calc(const params& base, const levels& lv, bool site_columns);

    // Sets the world frame for to_jet().
    void set_world(const world_frame& w);

    // The point in the jet's frame for world coordinates (e, n): x along
    // the jet, y to its left looking downstream, each rounded to a Real.
    void to_jet(double e, double n, real& x, real& y) const;

    // The row with site values from p at the point (x, y).
    row_result run(const params& p, real x, real y);

  private:
    levels lv_;
    bool site_columns_;
    world_frame w_;
    params site_p_; // the values the site stage was computed from
    site s_;
    uint64_t site_gen_ = 0;
    bool have_station_ = false;
    uint32_t x_bits_ = 0;
    uint64_t station_gen_ = 0;
    station t_{};
};

} // namespace orv::cli
