// Raster files through GDAL's C interface.
#include "raster/raster.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include <cerrno>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal.h>
#include <ogr_spatialref.h>
#include <ogr_srs_api.h>

#include "base/workers.h"
#include "geo/crs.h"
#include "io/guard.h"
#include "raster/gdal_env.h"

namespace orv::raster {

namespace {

// The bands in their order.
constexpr const char* band_names[6] = {"q", "v", "h", "he", "status", "level"};

// Whether a thread can be started at this moment.
bool thread_can_start() {
    base::crew c;
    const bool ok = c.start([] {});
    c.join();
    return ok;
}

// The creation options for driver d. GeoTIFF: tiles compressed on all
// cores with the floating-point predictor; for a map of 1000 x 1000 cells
// this is both smaller (6 instead of 24 MB) and faster than strips.
CPLStringList options_for(const std::string& driver) {
    CPLStringList o;
    if (driver == "GTiff") {
        o.SetNameValue("INTERLEAVE", "BAND");
        o.SetNameValue("TILED", "YES");
        o.SetNameValue("COMPRESS", "DEFLATE");
        o.SetNameValue("PREDICTOR", "3");
        o.SetNameValue("ZLEVEL", "1");
        // GDAL waits for ever on a compression pool none of whose threads
        // could start (a user at its process limit): it gets one only when
        // a thread can start now.
        if (thread_can_start()) o.SetNameValue("NUM_THREADS", "ALL_CPUS");
        o.SetNameValue("BIGTIFF", "IF_SAFER");
    }
    return o;
}

// A dataset of nx by ny cells and six Float32 bands for driver d at path:
// created there when the driver can, else in memory (copied at the end).
GDALDatasetH create(GDALDriverH d, const std::string& path, std::size_t nx, std::size_t ny,
                    bool& in_memory) {
    in_memory = !has(d, GDAL_DCAP_CREATE);
    const CPLStringList o = options_for(GDALGetDriverShortName(d));
    if (in_memory) {
        GDALDriverH mem = driver_named("MEM");
        return GDALCreate(mem, "", static_cast<int>(nx), static_cast<int>(ny), 6, GDT_Float32,
                          nullptr);
    }
    return GDALCreate(d, path.c_str(), static_cast<int>(nx), static_cast<int>(ny), 6, GDT_Float32,
                      o.List());
}

// Names the bands and sets NaN as their no-data value.
void describe_bands(GDALDatasetH ds) {
    for (int b = 0; b < 6; ++b) {
        GDALRasterBandH band = GDALGetRasterBand(ds, b + 1);
        GDALSetDescription(band, band_names[b]);
        GDALSetRasterNoDataValue(band, std::numeric_limits<double>::quiet_NaN());
    }
}

// Closes ds, first copying it to path with driver d when it was in memory;
// false when that fails.
bool finish(GDALDriverH d, GDALDatasetH ds, bool in_memory, const std::string& path) {
    bool ok = true;
    if (in_memory) {
        const CPLStringList o = options_for(GDALGetDriverShortName(d));
        GDALDatasetH out = GDALCreateCopy(d, path.c_str(), ds, FALSE, o.List(), nullptr, nullptr);
        ok = out != nullptr;
        if (out) GDALClose(out);
    }
    GDALClose(ds);
    return ok;
}

// Writes a whole small raster with driver d in directory dir and reads it
// back: whether the format holds six Float32 bands.
bool probe_in(GDALDriverH d, const std::string& dir, const std::string& ext) {
    const std::string path = dir + "/probe." + ext;
    quiet_errors q;
    bool in_memory = false;
    GDALDatasetH ds = create(d, path, 1, 1, in_memory);
    bool ok = ds != nullptr;
    if (ds) {
        describe_bands(ds);
        float px[6] = {1, 2, 3, 4, 0, 1};
        ok = GDALDatasetRasterIO(ds, GF_Write, 0, 0, 1, 1, px, 1, 1, GDT_Float32, 6, nullptr, 0, 0,
                                 0) == CE_None;
        ok = finish(d, ds, in_memory, path) && ok;
    }
    // Read back: a format may keep only some bands, or convert them.
    if (ok) {
        GDALDatasetH back = GDALOpen(path.c_str(), GA_ReadOnly);
        ok = back && GDALGetRasterCount(back) == 6 &&
             GDALGetRasterDataType(GDALGetRasterBand(back, 6)) == GDT_Float32;
        if (back) GDALClose(back);
    }
    VSIRmdirRecursive(dir.c_str());
    return ok && q.failures() == 0;
}

// Tries the driver in memory first and, for drivers that write only real
// files, in a fresh directory under the system's temporary directory.
bool holds_six_bands(GDALDriverH d, const std::string& ext) {
    if (probe_in(d, "/vsimem/orvalis-probe", ext)) return true;
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/.orv-XXXXXX";
    if (!io::make_temp_dir(dir)) return false;
    const bool ok = probe_in(d, dir, ext);
    io::remove_temp(dir);
    return ok;
}

} // namespace

std::string choose_driver(const std::string& path, std::string& why) {
    init();
    const std::string ext = extension(path);
    if (ext.empty() || ext == "tif" || ext == "tiff") return "GTiff";
    GDALDriverH found = writer_for(ext, GDAL_DCAP_RASTER);
    if (!found) {
        why = "kein Rasterformat zum Schreiben fuer die Endung ." + ext;
        return "";
    }
    const std::string name = GDALGetDriverShortName(found);
    const char* types = GDALGetMetadataItem(found, GDAL_DMD_CREATIONDATATYPES, nullptr);
    if ((types && !lists(types, "Float32")) || !holds_six_bands(found, ext)) {
        why = "das Format " + name + " (Endung ." + ext +
              ") kann keine sechs Float32-Baender speichern";
        return "";
    }
    return name;
}

// A geographic system counts in angles; a projected one must count in
// metres, as the cell size and the coordinates of --origin do.
bool crs_wkt(const OGRSpatialReference& srs, std::string& wkt, std::string& why) {
    quiet_errors q;
    const std::string crs = geo::crs_name(srs);
    const char* unit = nullptr;
    if (srs.IsGeographic()) {
        srs.GetAngularUnits(&unit);
        why = "Koordinatensystem " + crs + " hat die Einheit " + (unit ? unit : "?") +
              ", verlangt ist Meter";
        return false;
    }
    if (!srs.IsProjected() && !srs.IsLocal()) {
        why = "Koordinatensystem " + crs + " ist kein ebenes System in Metern";
        return false;
    }
    if (srs.GetLinearUnits(&unit) != 1.0) {
        why = "Koordinatensystem " + crs + " hat die Einheit " + (unit ? unit : "?") +
              ", verlangt ist Meter";
        return false;
    }
    char* w = nullptr;
    const bool ok = srs.exportToWkt(&w) == OGRERR_NONE;
    if (ok) wkt = w;
    CPLFree(w);
    return ok;
}

// What an open raster keeps.
struct raster_sink::state {
    std::string path;
    GDALDriverH driver = nullptr;
    GDALDatasetH ds = nullptr;
    bool in_memory = false;
    raster_layout layout;
    std::vector<float> buf;
};

raster_sink::raster_sink() = default;

// An unfinished raster is closed and its files removed.
raster_sink::~raster_sink() {
    if (st_ && st_->ds) {
        quiet_errors q;
        GDALClose(st_->ds);
    }
}

bool raster_sink::open(const std::string& path, const std::string& driver, const raster_layout& l,
                       std::string& why) {
    init();
    st_ = std::make_unique<state>();
    st_->layout = l;
    st_->path = path;
    quiet_errors q;
    st_->driver = driver_named(driver.c_str());
    if (st_->driver) st_->ds = create(st_->driver, path, l.nx, l.ny, st_->in_memory);
    if (!st_->ds) {
        why = q.reason();
        return false;
    }
    double gt[6];
    std::copy(l.gt, l.gt + 6, gt);
    GDALSetGeoTransform(st_->ds, gt);
    if (!l.wkt.empty()) GDALSetProjection(st_->ds, l.wkt.c_str());
    describe_bands(st_->ds);
    return true;
}

// The strip's bands one after another, its rows in the raster's order.
bool raster_sink::take(const map::strip& s) {
    const std::size_t nx = s.nx;
    const std::size_t rows = s.rows;
    const std::size_t plane = nx * rows;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    st_->buf.resize(6 * plane);
    float* out = st_->buf.data();
    const bool flip = st_->layout.bottom_up;
    for (std::size_t r = 0; r < rows; ++r) {
        const std::size_t to = (flip ? rows - 1 - r : r) * nx;
        const std::size_t from = r * nx;
        std::copy_n(s.q.data() + from, nx, out + to);
        std::copy_n(s.v.data() + from, nx, out + plane + to);
        std::copy_n(s.h.data() + from, nx, out + 2 * plane + to);
        std::copy_n(s.he.data() + from, nx, out + 3 * plane + to);
        for (std::size_t i = 0; i < nx; ++i) {
            const int32_t st = s.st[from + i];
            const int8_t lv = s.level[from + i];
            out[4 * plane + to + i] = st < 0 ? nan : static_cast<float>(st);
            out[5 * plane + to + i] = lv < 0 ? nan : static_cast<float>(lv);
        }
    }
    const std::size_t row0 = flip ? st_->layout.ny - s.j0 - rows : s.j0;
    quiet_errors q;
    const CPLErr e = GDALDatasetRasterIO(
        st_->ds, GF_Write, 0, static_cast<int>(row0), static_cast<int>(nx), static_cast<int>(rows),
        out, static_cast<int>(nx), static_cast<int>(rows), GDT_Float32, 6, nullptr, 0, 0, 0);
    if (e != CE_None || q.failures()) {
        failure_ = q.reason();
        return false;
    }
    return true;
}

bool raster_sink::finish(std::string& why) {
    quiet_errors q;
    const bool ok = raster::finish(st_->driver, st_->ds, st_->in_memory, st_->path);
    st_->ds = nullptr;
    if (ok && q.failures() == 0) return true;
    why = q.reason();
    return false;
}

} // namespace orv::raster
