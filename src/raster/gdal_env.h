// What every GDAL writer of the room shares: geo's registration and
// messages worded for writing, and drivers found by extension.
#pragma once
#include <string>

#include <gdal.h>
#include <gdal_priv.h>

#include "geo/context.h"
#include "geo/drivers.h"
#include "io/path.h"

namespace orv::raster {

// Registers GDAL's drivers once.
inline void init() {
    geo::register_drivers();
}

// While it lives, GDAL's messages are counted here instead of printed; their
// English text is never shown. The errno of the first failure says why in
// German.
class quiet_errors : public geo::messages {
  public:
    quiet_errors();
    int failures() const { return count(); }

    // "nicht schreibbar" with the reason the system gave, else a fault of
    // the format (kind: "Rasterformat", "Vektorformat").
    std::string reason(const char* kind = "Rasterformat") const;
};

// The driver named name, as a handle of GDAL's C interface.
inline GDALDriverH driver_named(const std::string& name) {
    return static_cast<GDALDriverH>(geo::driver(name));
}

// The extension of path's file name, lower case, without the dot.
using io::extension;

// The driver lists of geo, for GDAL's C interface.
using geo::lists;

// A metadata item of a driver is "YES".
inline bool has(GDALDriverH d, const char* item) {
    return geo::has(static_cast<GDALDriver*>(d), item);
}

// The first driver with capability cap (GDAL_DCAP_RASTER or
// GDAL_DCAP_VECTOR) that writes files with the extension ext; null when
// there is none.
inline GDALDriverH writer_for(const std::string& ext, const char* cap) {
    return static_cast<GDALDriverH>(geo::writer_for(ext, std::string(cap) == GDAL_DCAP_RASTER));
}

} // namespace orv::raster
