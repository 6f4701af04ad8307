// GDAL set-up, quiet errors and drivers by extension.
#include "raster/gdal_env.h"

#include <cctype>
#include <cerrno>
#include <cstring>

#include <cpl_error.h>
#include <cpl_string.h>

#include "io/os_error.h"
#include "io/path.h"

namespace orv::raster {

namespace {

void CPL_STDCALL collect(CPLErr e, CPLErrorNum, const char*) {
    const int saved = errno;
    auto* q = static_cast<quiet_errors*>(CPLGetErrorHandlerUserData());
    if (e >= CE_Failure) {
        ++q->failures;
        if (q->err == 0) q->err = saved;
    }
    errno = saved;
}

} // namespace

void init() {
    static const bool done = [] {
        GDALAllRegister();
        return true;
    }();
    (void)done;
}

quiet_errors::quiet_errors() {
    errno = 0;
    CPLPushErrorHandlerEx(&collect, this);
}

quiet_errors::~quiet_errors() {
    CPLPopErrorHandler();
}

std::string quiet_errors::reason() const {
    const int e = err ? err : errno;
    return e ? "nicht schreibbar: " + io::os_error(e) : "nicht schreibbar: Fehler im Rasterformat";
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
