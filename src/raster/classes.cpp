// The class band of a map and the level raster written from it.
#include "raster/classes.h"

#include <algorithm>
#include <cstdlib>

#include <cpl_string.h>
#include <cpl_vsi.h>

#include "raster/gdal_env.h"

namespace orv::raster {

uint8_t cell_class(int32_t st, int8_t lv) {
    if (st == 0 && lv >= 0 && lv <= 3) return static_cast<uint8_t>(lv);
    if (st == 1) return class_near;
    if (st == 2) return class_beyond;
    if (st == 5) return class_upstream;
    return class_outside;
}

class_band::~class_band() {
    if (ds_) GDALClose(ds_);
}

bool class_band::open(const raster_layout& l, std::string& why) {
    init();
    layout_ = l;
    quiet_errors q;
    GDALDriverH mem = driver_named("MEM");
    ds_ = GDALCreate(mem, "", static_cast<int>(l.nx), static_cast<int>(l.ny), 1, GDT_Byte, nullptr);
    if (!ds_) {
        why = "kein Speicher fuer das Klassenraster";
        return false;
    }
    double gt[6];
    std::copy(l.gt, l.gt + 6, gt);
    GDALSetGeoTransform(ds_, gt);
    if (!l.wkt.empty()) GDALSetProjection(ds_, l.wkt.c_str());
    GDALSetRasterNoDataValue(GDALGetRasterBand(ds_, 1), class_outside);
    return true;
}

// Rows flipped when the layout runs bottom up (the jet frame).
bool class_band::take(const map::strip& s) {
    const std::size_t nx = s.nx;
    buf_.resize(nx * s.rows);
    const bool flip = layout_.bottom_up;
    for (std::size_t r = 0; r < s.rows; ++r) {
        uint8_t* to = buf_.data() + (flip ? s.rows - 1 - r : r) * nx;
        for (std::size_t i = 0; i < nx; ++i) {
            const uint8_t c = cell_class(s.st[r * nx + i], s.level[r * nx + i]);
            to[i] = c;
            ++counts_[c];
        }
    }
    const std::size_t row0 = flip ? layout_.ny - s.j0 - s.rows : s.j0;
    quiet_errors q;
    return GDALRasterIO(GDALGetRasterBand(ds_, 1), GF_Write, 0, static_cast<int>(row0),
                        static_cast<int>(nx), static_cast<int>(s.rows), buf_.data(),
                        static_cast<int>(nx), static_cast<int>(s.rows), GDT_Byte, 0, 0) == CE_None;
}

namespace {

// Every class once, as a row of cells.
constexpr uint8_t all_classes[] = {
    0, 1, 2, 3, class_near, class_beyond, class_upstream, class_outside};
constexpr int n_classes = static_cast<int>(sizeof all_classes);

// Copies a row of all classes with driver d into directory dir and reads it
// back: 1 when every value came back (a lossy format changes them), 0 when
// not, -1 when nothing could be written.
int probe_in(GDALDriverH d, const std::string& dir, const std::string& ext) {
    const std::string path = dir + "/probe." + ext;
    quiet_errors q;
    GDALDatasetH mem = GDALCreate(driver_named("MEM"), "", n_classes, 1, 1, GDT_Byte, nullptr);
    uint8_t row[n_classes];
    std::copy(all_classes, all_classes + n_classes, row);
    GDALDatasetH out = nullptr;
    if (GDALRasterIO(GDALGetRasterBand(mem, 1), GF_Write, 0, 0, n_classes, 1, row, n_classes, 1,
                     GDT_Byte, 0, 0) == CE_None)
        out = GDALCreateCopy(d, path.c_str(), mem, FALSE, nullptr, nullptr, nullptr);
    int kept = -1;
    // A copy may refer to its source (a virtual raster): closed before it.
    if (out) GDALClose(out);
    GDALClose(mem);
    if (out) {
        GDALDatasetH back = GDALOpen(path.c_str(), GA_ReadOnly);
        uint8_t got[n_classes] = {};
        kept = back && GDALGetRasterCount(back) >= 1 &&
               GDALRasterIO(GDALGetRasterBand(back, 1), GF_Read, 0, 0, n_classes, 1, got, n_classes,
                            1, GDT_Byte, 0, 0) == CE_None &&
               std::equal(got, got + n_classes, all_classes);
        if (back) GDALClose(back);
    }
    VSIRmdirRecursive(dir.c_str());
    return kept;
}

} // namespace

std::string choose_level_driver(const std::string& path, std::string& why) {
    const std::string ext = extension(path);
    if (ext.empty() || ext == "tif" || ext == "tiff") return "GTiff";
    GDALDriverH d = writer_for(ext, GDAL_DCAP_RASTER);
    if (!d) {
        why = "kein Rasterformat zum Schreiben fuer die Endung ." + ext;
        return "";
    }
    const char* types = GDALGetMetadataItem(d, GDAL_DMD_CREATIONDATATYPES, nullptr);
    if (types && !lists(types, "Byte")) {
        why = std::string("das Format ") + GDALGetDriverShortName(d) + " (Endung ." + ext +
              ") kann kein Byte-Band speichern";
        return "";
    }
    int kept = probe_in(d, "/vsimem/orvalis-level-probe", ext);
    if (kept < 0) {
        const char* tmp = std::getenv("TMPDIR");
        std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvalis-probe-XXXXXX";
        if (mkdtemp(dir.data())) kept = probe_in(d, dir, ext);
    }
    if (kept == 0) {
        why = std::string("das Format ") + GDALGetDriverShortName(d) + " (Endung ." + ext +
              ") gibt die Klassen nicht unveraendert zurueck";
        return "";
    }
    return GDALGetDriverShortName(d);
}

bool write_level_raster(const class_band& b, const std::string& path, const std::string& driver,
                        const map::zone_colours& c, std::string& why) {
    quiet_errors q;
    GDALRasterBandH band = GDALGetRasterBand(b.dataset(), 1);
    GDALColorTableH ct = GDALCreateColorTable(GPI_RGB);
    auto set = [&](int k, const map::colour8& v, short alpha) {
        const GDALColorEntry e{v.r, v.g, v.b, alpha};
        GDALSetColorEntry(ct, k, &e);
    };
    for (int k = 0; k <= 3; ++k) set(k, c.level[k], 255);
    set(class_near, c.no_result, 255);
    set(class_beyond, c.no_result, 255);
    set(class_upstream, c.upstream, 255);
    for (int k = class_upstream + 1; k <= class_outside; ++k) set(k, {0, 0, 0}, 0);
    GDALSetRasterColorTable(band, ct);
    GDALDestroyColorTable(ct);
    GDALSetDescription(band, "klasse");
    CPLStringList o;
    if (driver == "GTiff") {
        o.SetNameValue("TILED", "YES");
        o.SetNameValue("COMPRESS", "DEFLATE");
        o.SetNameValue("BIGTIFF", "IF_SAFER");
    }
    GDALDatasetH out = GDALCreateCopy(driver_named(driver.c_str()), path.c_str(), b.dataset(),
                                      FALSE, o.List(), nullptr, nullptr);
    bool ok = out != nullptr;
    if (out) GDALClose(out);
    ok = ok && q.failures() == 0;
    if (!ok) why = q.reason();
    return ok;
}

} // namespace orv::raster
