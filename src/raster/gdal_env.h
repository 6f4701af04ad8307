// What every GDAL writer of the room shares: driver registration, GDAL's
// messages collected instead of printed, and drivers found by extension.
#pragma once
#include <string>

#include <gdal.h>

#include "io/path.h"

namespace orv::raster {

// Registers GDAL's drivers once.
void init();

// While it lives, GDAL's messages are counted here instead of printed; their
// English text is never shown. The errno of the first failure says why in
// German.
class quiet_errors {
  public:
    quiet_errors();
    ~quiet_errors();
    quiet_errors(const quiet_errors&) = delete;
    quiet_errors& operator=(const quiet_errors&) = delete;
    int failures = 0;
    int err = 0;

    // "nicht schreibbar" with the reason the system gave, when it gave one.
    std::string reason() const;
};

// The extension of path's file name, lower case, without the dot.
using io::extension;

// True when the space-separated list holds word.
bool lists(const char* list, const std::string& word);

// A metadata item of a driver is "YES".
bool has(GDALDriverH d, const char* item);

// The first driver with capability cap (GDAL_DCAP_RASTER or
// GDAL_DCAP_VECTOR) that can write files (create, or for rasters also
// create a copy) and claims the extension ext; null when there is none.
GDALDriverH writer_for(const std::string& ext, const char* cap);

} // namespace orv::raster
