// GDAL's failures while writing, worded in German.
#include "raster/gdal_env.h"

#include <cerrno>

#include "io/os_error.h"

namespace orv::raster {

quiet_errors::quiet_errors() {
    errno = 0;
}

std::string quiet_errors::reason(const char* kind) const {
    int e = first_errno() ? first_errno() : errno;
    // The output was staged in its folder before GDAL began, so a missing
    // file is one GDAL looked for (a sidecar, a probe), never the output.
    if (e == ENOENT) e = 0;
    return e ? "nicht schreibbar: " + io::os_error(e, io::use::write)
             : std::string("nicht schreibbar: Fehler im ") + kind;
}

} // namespace orv::raster
