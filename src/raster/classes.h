// The class of every cell of a map in one Byte band held in memory: the
// danger level or why there is none. The level raster is written from this
// band; the zones are its areas of one class as polygons.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <gdal.h>

#include "map/strip.h"
#include "raster/raster.h"

namespace orv::raster {

// Cell classes: 0 to 3 the danger level, then the cells without a result.
inline constexpr uint8_t class_near = 4;      // near the breach (status 1)
inline constexpr uint8_t class_beyond = 5;    // beyond the tables (status 2)
inline constexpr uint8_t class_upstream = 6;  // not below the breach (status 5)
inline constexpr uint8_t class_outside = 255; // outside the map; the no-data value

// The class of a cell with status st and danger level lv (no_level for none).
uint8_t cell_class(int32_t st, int8_t lv);

// The band of a map's cells in its raster's frame (layout), filled strip by
// strip; counts the cells of each class.
class class_band : public map::strip_sink {
  public:
    class_band() = default;
    class_band(const class_band&) = delete;
    class_band& operator=(const class_band&) = delete;
    ~class_band() override;

    // Makes the band for layout in memory; false with a German reason.
    bool open(const raster_layout& l, std::string& why);
    bool take(const map::strip& s) override;

    // The dataset holding the band (georeferenced as the layout says).
    GDALDatasetH dataset() const { return ds_; }
    const raster_layout& layout() const { return layout_; }
    // How many cells have class c.
    std::size_t count(uint8_t c) const { return counts_[c]; }

  private:
    GDALDatasetH ds_ = nullptr;
    raster_layout layout_;
    std::array<std::size_t, 256> counts_{};
    std::vector<uint8_t> buf_;
};

} // namespace orv::raster
