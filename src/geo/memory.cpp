// The in-memory vector dataset through GDAL's driver list.
#include "geo/memory.h"

#include <gdal_priv.h>

#include "geo/context.h"
#include "geo/drivers.h"

namespace orv::geo {

GDALDataset* memory_vector() {
    // GDAL 3.11 and later hold vectors in MEM; before, in Memory.
    for (const char* name : {"MEM", "Memory"}) {
        GDALDriver* d = driver(name);
        if (!d || !has(d, GDAL_DCAP_VECTOR) || !has(d, GDAL_DCAP_CREATE)) continue;
        return d->Create("", 0, 0, 0, GDT_Unknown, nullptr);
    }
    return nullptr;
}

} // namespace orv::geo
