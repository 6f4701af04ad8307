// GDAL set-up, quiet errors and drivers by extension.
#include "raster/gdal_env.h"

#include <cctype>
#include <cerrno>
#include <cstring>

#include <cpl_string.h>

#include "io/os_error.h"
#include "io/path.h"

namespace orv::raster {

quiet_errors::quiet_errors() {
    errno = 0;
}

std::string quiet_errors::reason(const char* kind) const {
    const int e = first_errno() ? first_errno() : errno;
    return e ? "nicht schreibbar: " + io::os_error(e)
             : std::string("nicht schreibbar: Fehler im ") + kind;
}

bool lists(const char* list, const std::string& word) {
    if (!list) return false;
    const CPLStringList words(CSLTokenizeString(list));
    for (int k = 0; k < words.size(); ++k) {
        if (EQUAL(words[k], word.c_str())) return true;
    }
    return false;
}

bool has(GDALDriverH d, const char* item) {
    const char* v = GDALGetMetadataItem(d, item, nullptr);
    return v && EQUAL(v, "YES");
}

GDALDriverH writer_for(const std::string& ext, const char* cap) {
    init();
    const bool raster = std::strcmp(cap, GDAL_DCAP_RASTER) == 0;
    for (int k = 0; k < GDALGetDriverCount(); ++k) {
        GDALDriverH d = GDALGetDriver(k);
        if (!has(d, cap)) continue;
        if (!has(d, GDAL_DCAP_CREATE) && !(raster && has(d, GDAL_DCAP_CREATECOPY))) continue;
        if (lists(GDALGetMetadataItem(d, GDAL_DMD_EXTENSIONS, nullptr), ext) ||
            lists(GDALGetMetadataItem(d, GDAL_DMD_EXTENSION, nullptr), ext))
            return d;
    }
    return nullptr;
}

} // namespace orv::raster
