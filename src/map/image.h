// What a map's picture shows of the grid: the danger level and one quantity
// per pixel, the grid reduced by a whole factor where it is large.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "map/strip.h"

namespace orv::map {

// The quantity a picture shows instead of the danger levels.
enum class quantity { levels, q, v, h, he };

// Most pixels along a side of the image.
inline constexpr std::size_t max_image_side = 1024;

// Pixel (i, j) covers the cells factor * i to factor * (i + 1) - 1 of the
// grid's columns and likewise of its rows; row 0 is the lowest y. level:
// the highest level of its cells (no_level when none has one); value: the
// largest value of the shown quantity among its cells with a result (NaN
// when none).
struct map_image {
    std::size_t w = 0;
    std::size_t h = 0;
    std::size_t factor = 1;
    std::vector<int8_t> level;
    std::vector<float> value;
};

// Builds the image of a grid of nx by ny cells from its strips.
class image_sink : public strip_sink {
  public:
    image_sink(std::size_t nx, std::size_t ny, quantity shown);
    bool take(const strip& s) override;
    const map_image& image() const { return img_; }

  private:
    quantity shown_;
    map_image img_;
};

} // namespace orv::map
