// Rasters of a map written with GDAL: six Float32 bands q, v, h, he, status
// and level, NaN as the no-data value of all of them.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "map/strip.h"

class OGRSpatialReference;

namespace orv::raster {

// The GDAL driver for a raster file named path: GeoTIFF without an extension
// or for .tif/.tiff, else the driver that claims the extension. Empty with
// a German reason in why when there is none or it cannot hold six Float32
// bands.
std::string choose_driver(const std::string& path, std::string& why);

// The WKT of the coordinate system srs; false with a German reason in why
// when its unit is not the metre (the cell size is in metres).
bool crs_wkt(const OGRSpatialReference& srs, std::string& wkt, std::string& why);

// Where a raster lies: geotransform, size, coordinate system (WKT, empty
// for none) and whether its strips come bottom row first (the jet frame,
// where rows ascend in y).
struct raster_layout {
    double gt[6];
    std::size_t nx = 0;
    std::size_t ny = 0;
    std::string wkt;
    bool bottom_up = false;
};

// Writes the strips of a map into a raster file at a staged path; the
// caller puts it (and any sidecars) in place.
class raster_sink : public map::strip_sink {
  public:
    raster_sink();
    ~raster_sink() override;

    // Creates the raster at path with driver; false with a German reason.
    bool open(const std::string& path, const std::string& driver, const raster_layout& l,
              std::string& why);
    bool take(const map::strip& s) override;
    // Completes and closes the raster; false with a German reason.
    bool finish(std::string& why);
    // The reason a take failed.
    const std::string& failure() const { return failure_; }

  private:
    struct state;
    std::unique_ptr<state> st_;
    std::string failure_;
};

} // namespace orv::raster
