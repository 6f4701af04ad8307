// Writing drivers by extension, looked up in GDAL's driver list.
#include "geo/drivers.h"

#include <cpl_string.h>
#include <gdal_priv.h>

#include "geo/context.h"
#include "io/path.h"

namespace orv::geo {

bool lists(const char* list, const std::string& word) {
    if (!list) return false;
    const CPLStringList words(CSLTokenizeString(list));
    for (int k = 0; k < words.size(); ++k) {
        if (EQUAL(words[k], word.c_str())) return true;
    }
    return false;
}

bool has(GDALDriver* d, const char* item) {
    const char* v = d->GetMetadataItem(item);
    return v && EQUAL(v, "YES");
}

GDALDriver* writer_for(const std::string& ext, bool raster) {
    register_drivers();
    GDALDriverManager* m = GetGDALDriverManager();
    for (int k = 0; k < m->GetDriverCount(); ++k) {
        GDALDriver* d = m->GetDriver(k);
        if (!has(d, raster ? GDAL_DCAP_RASTER : GDAL_DCAP_VECTOR)) continue;
        if (!has(d, GDAL_DCAP_CREATE) && !(raster && has(d, GDAL_DCAP_CREATECOPY))) continue;
        if (lists(d->GetMetadataItem(GDAL_DMD_EXTENSIONS), ext) ||
            lists(d->GetMetadataItem(GDAL_DMD_EXTENSION), ext))
            return d;
    }
    return nullptr;
}

std::string vector_writer(const std::string& path, std::string& why) {
    const std::string ext = io::extension(path);
    if (ext.empty() || ext == "gpkg") return "GPKG";
    if (GDALDriver* d = writer_for(ext, false)) return d->GetDescription();
    why = "kein Vektorformat zum Schreiben fuer die Endung ." + ext;
    return "";
}

} // namespace orv::geo
