// GDAL's failures while writing, worded in German.
#include "raster/gdal_env.h"

#include <cerrno>

#include "io/os_error.h"

namespace orv::raster {

quiet_errors::quiet_errors() {
    errno = 0;
}

std::string quiet_errors::reason(const char* kind) const {
    const int e = first_errno() ? first_errno() : errno;
    return e ? "nicht schreibbar: " + io::os_error(e)
             : std::string("nicht schreibbar: Fehler im ") + kind;
}

} // namespace orv::raster
