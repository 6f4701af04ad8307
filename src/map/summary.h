// The map's summary: reach, half-width and area of each danger level, the
// zones without a result, as German text or JSON.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "map/axis.h"
#include "map/frame.h"
#include "map/strip.h"
#include "model/level.h"
#include "model/params.h"

namespace orv::map {

// Figures of the cells at one level or above. reach: the largest x of a
// cell centre plus half a cell; half_width: the largest |y| of a cell
// centre plus half a cell; area: cells times the cell area. The *_open
// flags mark a figure that ends at the edge of the grid or of the tables,
// so the true figure is at least as large.
struct zone {
    std::size_t cells = 0;
    double reach = 0;
    double half_width = 0;
    double area = 0;
    bool reach_open = false;
    bool width_open = false;
    bool area_open = false;
};

// The columns without a result: near the breach (status 1) up to near_end,
// beyond the tables (status 2) from far_start.
struct no_result_zones {
    std::size_t near_columns = 0;
    double near_end = 0;
    std::size_t far_columns = 0;
    double far_start = 0;
};

// Everything the summary reports.
struct figures {
    zone zones[3]; // levels 1, 2, 3 and above
    no_result_zones none;
};

// Gathers the figures of a grid with axes x, y whose columns have the
// statuses col from its strips.
class summary_sink : public strip_sink {
  public:
    summary_sink(const axis& x, const axis& y, std::vector<int32_t> col);
    bool take(const strip& s) override;
    figures result() const;

  private:
    axis x_, y_;
    std::vector<int32_t> col_;
    std::vector<uint8_t> open_; // per column: its right neighbour has no result or is the edge
    std::vector<uint8_t> rim_;  // per column: at the grid's side or beside a column without result
    std::size_t cells_[3] = {};
    std::size_t imax_[3] = {};
    double ymax_[3] = {};
    bool reach_open_[3] = {}, width_open_[3] = {}, area_open_[3] = {};
};

// What the summary describes: the site, thresholds, grid, whether the
// slope was corrected from a given value, and the world raster when the
// map is georeferenced.
struct summary_input {
    params site;
    levels lv;
    axis x, y;
    bool corrected = false;
    real given_slope = 0;
    const world_raster* world = nullptr;
};

// The figures of f with reach, half-width and area rounded to the decimals
// the summary prints them with, for outputs that carry them as numbers.
figures rounded(const figures& f, const axis& x, const axis& y);

// The German text of the summary.
std::string summary_text(const summary_input& in, const figures& f);

// The same as JSON. Check it with unwritable_json first: JSON has no
// infinities.
std::string summary_json(const summary_input& in, const figures& f);

// The name of the first figure of the JSON summary that is not finite (an
// extent near the largest double), or nullptr when all are.
const char* unwritable_json(const summary_input& in, const figures& f);

// Where an axis really ends: max, unless its cells reach beyond it (a cell
// larger than the range, a range not a whole number of cells).
double extent_end(const axis& a);

} // namespace orv::map
