// The danger zones of a map as a vector layer "zonen": per zone one
// (multi)polygon along the cell edges of the class band, with its style.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "map/palette.h"
#include "model/level.h"
#include "raster/classes.h"

namespace orv::vector {

// The OGR driver for zones named path: GeoPackage without an extension or
// for .gpkg, else the vector driver that claims the extension. Empty with a
// German reason in why.
std::string choose_zone_driver(const std::string& path, std::string& why);

// Writes the zones of band b to path (a file of a staged output) with
// driver: a feature per zone with cells (levels 1 to 3, near the breach,
// beyond the tables), fields kind, level, label and area_m2 (cells times
// the cell area), in the band's frame and coordinate system. The style
// goes into the GeoPackage's layer_styles table, for other formats into
// STEM.qml beside path. False with a German reason in why.
bool write_zones(const raster::class_band& b, const std::string& path, const std::string& driver,
                 const levels& lv, const map::zone_colours& c, std::string& why);

// The zones of one map, ready to be written: per class 1 to 5 (levels 1 to
// 3, near the breach, beyond the tables) a multipolygon, null when no cell
// has that class, and its area (cells times the cell area). Owns the
// shapes; made on any thread, written on another.
class zone_shapes {
  public:
    zone_shapes() = default;
    ~zone_shapes();
    zone_shapes(zone_shapes&& o) noexcept;
    zone_shapes& operator=(zone_shapes&& o) noexcept;

    void* shape[6] = {}; // OGRGeometryH
    double area[6] = {};
};

// Polygonises band b into z; false with a German reason in why.
bool make_zones(const raster::class_band& b, zone_shapes& z, std::string& why);

// A layer "zonen" written map by map: the zones of one map, or of many maps
// (the dams of a register) with the fields orv_dam and orv_row naming the
// map of each zone.
class zone_layer {
  public:
    zone_layer();
    ~zone_layer();
    zone_layer(const zone_layer&) = delete;
    zone_layer& operator=(const zone_layer&) = delete;

    // Creates the file path (of a staged output) with driver, the layer in
    // the system wkt (empty for none); with dams, the two naming fields.
    bool open(const std::string& path, const std::string& driver, const std::string& wkt, bool dams,
              std::string& why);
    // Writes the zones of z (taking its shapes) labelled with lv; dam and
    // row name the map when the layer has the fields.
    bool add(zone_shapes& z, const levels& lv, const std::string& dam, std::int64_t row,
             std::string& why);
    // Completes the file and its style in the colours c.
    bool finish(const levels& lv, const map::zone_colours& c, std::string& why);

  private:
    struct state;
    std::unique_ptr<state> s_;
};

} // namespace orv::vector
