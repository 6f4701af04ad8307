// GDAL's writing drivers chosen by a file's extension, one rule for rasters
// and one for vector layers.
#pragma once
#include <string>

class GDALDriver;

namespace orv::geo {

// True when the space-separated list holds word (in any case); false for null.
bool lists(const char* list, const std::string& word);

// True when the driver's metadata item is "YES".
bool has(GDALDriver* d, const char* item);

// The first driver of rasters (raster) or of vector layers that can write
// files (create them, or for rasters also create a copy) and claims the
// extension ext (lower case, no dot); null when there is none.
GDALDriver* writer_for(const std::string& ext, bool raster);

// The name of the vector driver that writes path: GeoPackage without an
// extension or for .gpkg, else the one that claims the extension (any
// case). Empty with a German reason in why.
std::string vector_writer(const std::string& path, std::string& why);

} // namespace orv::geo
