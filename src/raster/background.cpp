// Background rasters through GDAL's warper.
#include "raster/background.h"

#include <algorithm>
#include <cmath>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_utils.h>
#include <ogr_spatialref.h>
#include <ogr_srs_api.h>

#include "geo/area.h"
#include "geo/context.h"
#include "geo/crs.h"

namespace orv::raster {

namespace {

// GDAL's drivers registered once; its messages collected, the last one kept.
class gdal_scope : public geo::messages {
  public:
    gdal_scope() { geo::register_drivers(); }
};

// The kinds of background a picture can show.
enum class kind { grey, palette, rgb, rgba, other };

kind kind_of(GDALDatasetH ds) {
    const int n = GDALGetRasterCount(ds);
    for (int b = 1; b <= n; ++b)
        if (GDALGetRasterDataType(GDALGetRasterBand(ds, b)) != GDT_Byte) return kind::other;
    if (n == 1) {
        return GDALGetRasterColorInterpretation(GDALGetRasterBand(ds, 1)) == GCI_PaletteIndex
                   ? kind::palette
                   : kind::grey;
    }
    if (n == 3) return kind::rgb;
    if (n == 4) return kind::rgba;
    return kind::other;
}

// Opens path and checks its bands; null with a reason.
GDALDatasetH open_checked(const std::string& path, kind& k, std::string& why, const gdal_scope& q) {
    GDALDatasetH ds =
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    if (!ds) {
        why = "kein lesbares Raster" + q.detail();
        return nullptr;
    }
    k = kind_of(ds);
    double gt[6];
    if (k == kind::other) {
        why = "nur Byte-Raster mit 1 Band (Grau oder Palette), 3 Baendern (RGB) oder 4 "
              "(RGBA) darstellbar; dieses hat " +
              std::to_string(GDALGetRasterCount(ds)) + " Baender vom Typ " +
              GDALGetDataTypeName(GDALGetRasterDataType(GDALGetRasterBand(ds, 1)));
    } else if (GDALGetGeoTransform(ds, gt) != CE_None && GDALGetGCPCount(ds) == 0) {
        why = "ohne Georeferenz";
        k = kind::other;
    }
    if (k == kind::other) {
        GDALClose(ds);
        return nullptr;
    }
    return ds;
}

// Runs a GDAL utility's options from words.
CPLStringList words(std::initializer_list<std::string> w) {
    CPLStringList l;
    for (const auto& s : w) l.AddString(s.c_str());
    return l;
}

std::string text(double v) {
    char buf[40];
    CPLsnprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

} // namespace

bool check_background(const std::string& path, std::string& why) {
    gdal_scope q;
    kind k;
    GDALDatasetH ds = open_checked(path, k, why, q);
    if (ds) GDALClose(ds);
    return ds != nullptr;
}

bool background_in_area(const std::string& path, const OGRSpatialReference& site,
                        std::string& why) {
    gdal_scope q;
    GDALDatasetH ds =
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    double gt[6];
    if (!ds) return true;
    bool ok = true;
    if (GDALGetGeoTransform(ds, gt) == CE_None) {
        const double w = GDALGetRasterXSize(ds), h = GDALGetRasterYSize(ds);
        double e0 = INFINITY, e1 = -INFINITY, n0 = INFINITY, n1 = -INFINITY;
        for (const double i : {0.0, w}) {
            for (const double j : {0.0, h}) {
                const double e = gt[0] + i * gt[1] + j * gt[2], n = gt[3] + i * gt[4] + j * gt[5];
                e0 = std::min(e0, e), e1 = std::max(e1, e), n0 = std::min(n0, n),
                n1 = std::max(n1, n);
            }
        }
        const OGRSpatialReference* own = OGRSpatialReference::FromHandle(GDALGetSpatialRef(ds));
        ok = geo::box_in_area(own ? *own : site, e0, n0, e1, n1, site, why);
    }
    GDALClose(ds);
    return ok;
}

bool warp_background(const std::string& path, const std::string& wkt, const map::world_box& box,
                     int w, int h, std::vector<uint32_t>& px, std::string& why) {
    gdal_scope q;
    kind k;
    GDALDatasetH src = open_checked(path, k, why, q);
    if (!src) return false;
    // A palette is expanded to colours first, so that the colours are
    // interpolated and not the indices.
    GDALDatasetH expanded = nullptr;
    if (k == kind::palette) {
        CPLStringList a = words({"-of", "VRT", "-expand", "rgba"});
        GDALTranslateOptions* o = GDALTranslateOptionsNew(a.List(), nullptr);
        expanded = GDALTranslate("", src, o, nullptr);
        GDALTranslateOptionsFree(o);
        if (!expanded) {
            why = "Palette nicht umsetzbar" + q.detail();
            GDALClose(src);
            return false;
        }
        k = kind::rgba;
    }
    CPLStringList a =
        words({"-of", "MEM", "-r", "bilinear", "-t_srs", wkt, "-te", text(box.e0), text(box.n0),
               text(box.e1), text(box.n1), "-ts", std::to_string(w), std::to_string(h)});
    const char* own = GDALGetProjectionRef(src);
    if (!own || !*own) a.AddString("-s_srs"), a.AddString(wkt.c_str());
    if (k == kind::rgba) a.AddString("-srcalpha");
    a.AddString("-dstalpha");
    GDALWarpAppOptions* o = GDALWarpAppOptionsNew(a.List(), nullptr);
    GDALDatasetH in = expanded ? expanded : src;
    int bad = 0;
    GDALDatasetH out = GDALWarp("", nullptr, 1, &in, o, &bad);
    GDALWarpAppOptionsFree(o);
    bool ok = out != nullptr;
    if (ok) {
        // Grey and alpha, or red, green, blue and alpha.
        const int n = GDALGetRasterCount(out);
        std::vector<uint8_t> band(static_cast<std::size_t>(w) * h * n);
        ok = (n == 2 || n == 4) && GDALDatasetRasterIO(out, GF_Read, 0, 0, w, h, band.data(), w, h,
                                                       GDT_Byte, n, nullptr, 0, 0, 0) == CE_None;
        const std::size_t plane = static_cast<std::size_t>(w) * h;
        px.assign(plane, 0);
        for (std::size_t p = 0; ok && p < plane; ++p) {
            const uint32_t al = band[(n - 1) * plane + p];
            const uint32_t r = band[p];
            const uint32_t g = n == 4 ? band[plane + p] : r;
            const uint32_t b = n == 4 ? band[2 * plane + p] : r;
            auto pre = [al](uint32_t c) { return (c * al + 127) / 255; };
            px[p] = al << 24 | pre(r) << 16 | pre(g) << 8 | pre(b);
        }
        GDALClose(out);
    }
    if (!ok) why = "nicht in das Kartenraster umsetzbar" + q.detail();
    if (expanded) GDALClose(expanded);
    GDALClose(src);
    return ok;
}

std::string crs_name(const std::string& wkt) {
    if (wkt.empty()) return "";
    gdal_scope q;
    OGRSpatialReferenceH s = OSRNewSpatialReference(wkt.c_str());
    std::string name;
    if (s) {
        const char* n = OSRGetName(s);
        name = n ? n : "";
        const char* code = OSRGetAuthorityCode(s, nullptr);
        const char* auth = OSRGetAuthorityName(s, nullptr);
        if (code && auth) name += " (" + std::string(auth) + ":" + code + ")";
        OSRDestroySpatialReference(s);
    }
    return name;
}

} // namespace orv::raster
