// A map computed in strips of rows, so that memory stays bounded at any grid
// size, and the parts that take the strips in turn.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "map/axis.h"
#include "map/frame.h"
#include "model/grid.h"
#include "model/level.h"

namespace orv::map {

// Most cells of one strip.
inline constexpr std::size_t strip_cells = std::size_t{1} << 20;

// Results of rows j0 to j0 + rows - 1 of a grid nx cells wide, row by row,
// with each cell's danger level (no_level, -1, where there is none). A cell
// outside a rotated map has status -1 and no results.
struct strip {
    std::size_t j0 = 0;
    std::size_t rows = 0;
    std::size_t nx = 0;
    std::vector<real> q, v, h, he;
    std::vector<int32_t> st;
    std::vector<int8_t> level;

    // Makes room for rows x nx cells.
    void resize(std::size_t rows, std::size_t nx);
    // The result arrays for the model.
    grid_out out();
};

// A part that takes the strips of a map in turn.
class strip_sink {
  public:
    virtual ~strip_sink() = default;
    // Takes strip s; false stops the run (an output failed).
    virtual bool take(const strip& s) = 0;
};

// Hands each strip to two sinks in turn, either of them possibly none: two
// outputs that share one frame (a raster and a class band) as one sink.
class sink_pair : public strip_sink {
  public:
    sink_pair(strip_sink* a, strip_sink* b) : a_(a), b_(b) {}
    bool take(const strip& s) override { return (!a_ || a_->take(s)) && (!b_ || b_->take(s)); }

  private:
    strip_sink *a_, *b_;
};

// The rows of a strip of at most strip_cells cells (at least one row).
std::size_t strip_rows(std::size_t nx);

// The stations of the map's columns at the centres xs.
std::vector<station> column_stations(const site& s, const std::vector<real>& xs, unsigned threads);

// Computes the map grid (stations st at its columns, rows at the centres
// ys) strip by strip, j ascending, with levels lv, and hands each strip to
// every sink in turn; false when a sink stopped it.
bool compute_grid(const site& s, const std::vector<station>& st, const std::vector<real>& ys,
                  const levels& lv, unsigned threads, const std::vector<strip_sink*>& sinks);

// Computes the rotated raster w of the map (axes x, y, breach and direction
// g) strip by strip, row 0 at the top: cells inside the map as the model
// gives them at (x, |y|), the others status -1.
bool compute_world(const site& s, const axis& x, const axis& y, const georef& g,
                   const world_raster& w, const levels& lv, unsigned threads,
                   const std::vector<strip_sink*>& sinks);

} // namespace orv::map
