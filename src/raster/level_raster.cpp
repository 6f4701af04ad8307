// The level raster written from the class band, and the formats that hold it.
#include "raster/level_raster.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include <cpl_string.h>
#include <cpl_vsi.h>

#include "io/guard.h"
#include "io/path.h"
#include "raster/gdal_env.h"
#include "raster/level_style.h"

namespace orv::raster {

uint8_t level_of(uint8_t c) {
    return c <= 3 ? c : no_value;
}

uint8_t reason_of(uint8_t c) {
    switch (c) {
    case class_near: return reason_near;
    case class_beyond: return reason_beyond;
    case class_upstream: return reason_upstream;
    default: return c <= 3 ? reason_result : no_value;
    }
}

namespace {

// Category names as GDAL takes them.
void set_categories(GDALRasterBandH band, const std::vector<std::string>& names) {
    CPLStringList l;
    for (const std::string& n : names) l.AddString(n.c_str());
    GDALSetRasterCategoryNames(band, l.List());
}

// Names, no-data values, categories and band 1's colours; band 2 is no
// colour and no transparency, whatever a format would take it for.
void describe(GDALDatasetH ds, const map::zone_colours& c) {
    GDALRasterBandH lb = GDALGetRasterBand(ds, 1);
    GDALRasterBandH rb = GDALGetRasterBand(ds, 2);
    GDALColorTableH ct = GDALCreateColorTable(GPI_RGB);
    for (int k = 0; k <= 3; ++k) {
        const GDALColorEntry e{c.level[k].r, c.level[k].g, c.level[k].b, 255};
        GDALSetColorEntry(ct, k, &e);
    }
    GDALSetRasterColorTable(lb, ct);
    GDALDestroyColorTable(ct);
    GDALSetRasterColorInterpretation(lb, GCI_PaletteIndex);
    GDALSetRasterColorInterpretation(rb, GCI_Undefined);
    GDALSetDescription(lb, "Stufe");
    GDALSetDescription(rb, "Grund");
    for (GDALRasterBandH b : {lb, rb}) GDALSetRasterNoDataValue(b, no_value);
    set_categories(lb, level_categories());
    set_categories(rb, reason_categories());
}

// A two-band dataset of nx by ny cells in memory; null when there is no room.
GDALDatasetH two_bands(std::size_t nx, std::size_t ny) {
    return GDALCreate(driver_named("MEM"), "", static_cast<int>(nx), static_cast<int>(ny), 2,
                      GDT_Byte, nullptr);
}

// Fills ds with the levels and the reasons of the classes of b, row by row.
bool split(const class_band& b, GDALDatasetH ds) {
    const raster_layout& l = b.layout();
    const int nx = static_cast<int>(l.nx);
    std::vector<uint8_t> cls(l.nx), lev(l.nx), why(l.nx);
    GDALRasterBandH from = GDALGetRasterBand(b.dataset(), 1);
    for (int j = 0; j < static_cast<int>(l.ny); ++j) {
        if (GDALRasterIO(from, GF_Read, 0, j, nx, 1, cls.data(), nx, 1, GDT_Byte, 0, 0) != CE_None)
            return false;
        std::transform(cls.begin(), cls.end(), lev.begin(), level_of);
        std::transform(cls.begin(), cls.end(), why.begin(), reason_of);
        for (auto [k, row] : {std::pair{1, &lev}, std::pair{2, &why}}) {
            if (GDALRasterIO(GDALGetRasterBand(ds, k), GF_Write, 0, j, nx, 1, row->data(), nx, 1,
                             GDT_Byte, 0, 0) != CE_None)
                return false;
        }
    }
    return true;
}

// The creation options for driver: GeoTIFF tiled and compressed, its
// second band an ordinary sample (by default a second band of a palette
// image would be its transparency).
CPLStringList options_for(const std::string& driver) {
    CPLStringList o;
    if (driver == "GTiff") {
        o.SetNameValue("TILED", "YES");
        o.SetNameValue("COMPRESS", "DEFLATE");
        o.SetNameValue("BIGTIFF", "IF_SAFER");
        o.SetNameValue("PHOTOMETRIC", "MINISBLACK");
    }
    return o;
}

// Copies ds with driver d to path; false when the driver refused.
bool copy(GDALDriverH d, const std::string& path, GDALDatasetH ds) {
    const CPLStringList o = options_for(GDALGetDriverShortName(d));
    GDALDatasetH out = GDALCreateCopy(d, path.c_str(), ds, FALSE, o.List(), nullptr, nullptr);
    if (out) GDALClose(out);
    return out != nullptr;
}

// Writes text to path through GDAL's files; false when it fails.
bool write_text(const std::string& path, const std::string& text) {
    VSILFILE* f = VSIFOpenL(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = VSIFWriteL(text.data(), 1, text.size(), f) == text.size();
    return VSIFCloseL(f) == 0 && ok;
}

} // namespace

bool write_level_raster(const class_band& b, const std::string& path, const std::string& driver,
                        const levels& lv, const map::zone_colours& c, std::string& why) {
    quiet_errors q;
    const raster_layout& l = b.layout();
    GDALDatasetH ds = two_bands(l.nx, l.ny);
    if (!ds) {
        why = "kein Speicher fuer das Stufenraster";
        return false;
    }
    double gt[6];
    std::copy(l.gt, l.gt + 6, gt);
    GDALSetGeoTransform(ds, gt);
    if (!l.wkt.empty()) GDALSetProjection(ds, l.wkt.c_str());
    describe(ds, c);
    bool ok = split(b, ds) && copy(driver_named(driver), path, ds);
    GDALClose(ds);
    ok = ok && q.failures() == 0;
    if (!ok) {
        why = q.reason();
        return false;
    }
    if (!write_text(io::with_extension(path, "qml"), level_qml(lv, c))) {
        why = "Stil nicht schreibbar";
        return false;
    }
    return true;
}

namespace {

// Every class once, as a row of cells, and the two bands it gives.
constexpr uint8_t all_classes[] = {
    0, 1, 2, 3, class_near, class_beyond, class_upstream, class_outside};
constexpr int n_classes = static_cast<int>(sizeof all_classes);

// A row of n cells of band k of ds read into out; false when it fails.
bool read_row(GDALDatasetH ds, int k, uint8_t* out, int n) {
    return GDALRasterIO(GDALGetRasterBand(ds, k), GF_Read, 0, 0, n, 1, out, n, 1, GDT_Byte, 0, 0) ==
           CE_None;
}

// Whether band k of a written file came back as written: the values, the
// no-data value, and not taken for transparency.
bool kept_band(GDALDatasetH back, int k, const uint8_t* want) {
    uint8_t got[n_classes] = {};
    int has = 0;
    GDALRasterBandH b = GDALGetRasterBand(back, k);
    return read_row(back, k, got, n_classes) && std::equal(got, got + n_classes, want) &&
           GDALGetRasterNoDataValue(b, &has) == no_value && has &&
           GDALGetRasterColorInterpretation(b) != GCI_AlphaBand;
}

// Copies a row of all classes with driver d into directory dir and reads it
// back: 1 when both bands came back (a lossy format changes the values, a
// format of one band or of transparency loses the second), 0 when not, -1
// when nothing could be written.
int probe_in(GDALDriverH d, const std::string& dir, const std::string& ext) {
    const std::string path = dir + "/probe." + ext;
    quiet_errors q;
    uint8_t lev[n_classes], why[n_classes];
    std::transform(all_classes, all_classes + n_classes, lev, level_of);
    std::transform(all_classes, all_classes + n_classes, why, reason_of);
    GDALDatasetH mem = two_bands(n_classes, 1);
    bool written = false;
    if (mem) {
        describe(mem, map::zone_colours{});
        written = GDALRasterIO(GDALGetRasterBand(mem, 1), GF_Write, 0, 0, n_classes, 1, lev,
                               n_classes, 1, GDT_Byte, 0, 0) == CE_None &&
                  GDALRasterIO(GDALGetRasterBand(mem, 2), GF_Write, 0, 0, n_classes, 1, why,
                               n_classes, 1, GDT_Byte, 0, 0) == CE_None &&
                  copy(d, path, mem);
        GDALClose(mem);
    }
    int kept = -1;
    if (written) {
        GDALDatasetH back = GDALOpen(path.c_str(), GA_ReadOnly);
        kept = back && GDALGetRasterCount(back) == 2 && kept_band(back, 1, lev) &&
               kept_band(back, 2, why);
        if (back) GDALClose(back);
    }
    VSIRmdirRecursive(dir.c_str());
    return kept;
}

// Tries the driver in memory first and, for drivers that write only real
// files, in a fresh directory under the system's temporary directory; a
// driver that writes there neither takes two bands (-1 only when no such
// directory can be made: the real file then tells).
int probe(GDALDriverH d, const std::string& ext, bool& refused) {
    refused = false;
    const int kept = probe_in(d, "/vsimem/orvalis-level-probe", ext);
    if (kept >= 0) return kept;
    const char* tmp = std::getenv("TMPDIR");
    std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/.orv-XXXXXX";
    if (!io::make_temp_dir(dir)) return -1;
    const int again = probe_in(d, dir, ext);
    io::remove_temp(dir);
    refused = again < 0;
    return again < 0 ? 0 : again;
}

} // namespace

std::string choose_level_driver(const std::string& path, std::string& why) {
    init();
    const std::string ext = extension(path);
    if (ext.empty() || ext == "tif" || ext == "tiff") return "GTiff";
    GDALDriverH d = writer_for(ext, GDAL_DCAP_RASTER);
    if (!d) {
        why = "kein Rasterformat zum Schreiben fuer die Endung ." + ext;
        return "";
    }
    const std::string name = GDALGetDriverShortName(d);
    const char* types = GDALGetMetadataItem(d, GDAL_DMD_CREATIONDATATYPES, nullptr);
    if (types && !lists(types, "Byte")) {
        why = "das Format " + name + " (Endung ." + ext + ") kann kein Byte-Band speichern";
        return "";
    }
    bool refused = false;
    if (probe(d, ext, refused) == 0) {
        why = "das Format " + name + " (Endung ." + ext +
              (refused ? ") kann die zwei Byte-Baender Stufe und Grund nicht speichern"
                       : ") gibt die Baender Stufe und Grund nicht unveraendert zurueck");
        return "";
    }
    return name;
}

} // namespace orv::raster
