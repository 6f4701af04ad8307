// A vector dataset held in memory, for objects that come from no file.
#pragma once

class GDALDataset;

namespace orv::geo {

// A new, empty vector dataset in memory (GDAL's MEM driver, or Memory where
// GDAL keeps vectors apart); the caller's to close. Null when GDAL has none.
GDALDataset* memory_vector();

} // namespace orv::geo
