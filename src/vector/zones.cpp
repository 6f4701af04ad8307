// Zones polygonised from the class band and written with OGR.
#include "vector/zones.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal_alg.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include "geo/drivers.h"
#include "geo/fields.h"
#include "geo/handles.h"
#include "io/path.h"
#include "raster/gdal_env.h"
#include "style/store.h"
#include "vector/zone_style.h"

namespace orv::vector {

namespace {

using raster::driver_named;
using raster::quiet_errors;

constexpr const char* layer_name = "zonen";

using feature = geo::c_feature_handle;
using dataset = geo::c_dataset_handle;

using geo::add_field;

// Writes a square with driver d into directory dir and reads it back:
// 1 when the square came back, 0 when it was lost (a format of plain
// tables drops the zones' shapes) or refused while the format takes a
// layer of points, -1 when nothing could be written.
int probe_in(GDALDriverH d, const std::string& dir, const std::string& ext) {
    const std::string path = dir + "/probe." + ext;
    quiet_errors q;
    bool written = false, refused = false;
    {
        dataset ds(GDALCreate(d, path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        OGRLayerH l =
            ds ? GDALDatasetCreateLayer(ds.get(), "probe", nullptr, wkbMultiPolygon, nullptr)
               : nullptr;
        if (l) {
            char wkt[] = "MULTIPOLYGON (((0 0,1 0,1 1,0 1,0 0)))";
            char* at = wkt;
            OGRGeometryH g = nullptr;
            OGR_G_CreateFromWkt(&at, nullptr, &g);
            const feature f(OGR_F_Create(OGR_L_GetLayerDefn(l)));
            OGR_F_SetGeometryDirectly(f.get(), g);
            written = OGR_L_CreateFeature(l, f.get()) == OGRERR_NONE;
        } else if (ds) {
            refused = GDALDatasetCreateLayer(ds.get(), "points", nullptr, wkbPoint, nullptr);
        }
    }
    int kept = refused ? 0 : -1;
    if (written) {
        dataset back(GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
        OGRLayerH l = back ? GDALDatasetGetLayer(back.get(), 0) : nullptr;
        const feature f(l ? OGR_L_GetNextFeature(l) : nullptr);
        kept = f && OGR_F_GetGeometryRef(f.get()) != nullptr;
    }
    VSIRmdirRecursive(dir.c_str());
    return kept;
}

// Whether driver d keeps polygons: probed in memory, else (drivers that
// write only real files) in a fresh directory under the temporary
// directory. A driver that can write neither is given the benefit of the
// doubt: writing the zones will tell.
bool holds_polygons(GDALDriverH d, const std::string& ext) {
    int kept = probe_in(d, "/vsimem/orvalis-zones-probe", ext);
    if (kept < 0) {
        const char* tmp = std::getenv("TMPDIR");
        std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvalis-probe-XXXXXX";
        if (mkdtemp(dir.data())) kept = probe_in(d, dir, ext);
    }
    return kept != 0;
}

} // namespace

std::string choose_zone_driver(const std::string& path, std::string& why) {
    const std::string name = geo::vector_writer(path, why);
    if (name.empty() || name == "GPKG") return name;
    if (!holds_polygons(driver_named(name), raster::extension(path))) {
        why = "das Format " + name + " (Endung ." + raster::extension(path) +
              ") kann keine Polygone speichern";
        return "";
    }
    return name;
}

zone_shapes::~zone_shapes() {
    for (void*& g : shape) {
        if (g) OGR_G_DestroyGeometry(static_cast<OGRGeometryH>(g));
        g = nullptr;
    }
}

zone_shapes::zone_shapes(zone_shapes&& o) noexcept {
    *this = std::move(o);
}

zone_shapes& zone_shapes::operator=(zone_shapes&& o) noexcept {
    if (this == &o) return *this;
    for (int k = 0; k < 6; ++k) {
        if (shape[k]) OGR_G_DestroyGeometry(static_cast<OGRGeometryH>(shape[k]));
        shape[k] = o.shape[k];
        o.shape[k] = nullptr;
        area[k] = o.area[k];
    }
    return *this;
}

// The polygons of each zone's class, gathered into one multipolygon per
// zone: GDAL's polygonize over the band, regions of four-connected cells.
bool make_zones(const raster::class_band& b, zone_shapes& z, std::string& why) {
    quiet_errors q;
    dataset mem(GDALCreate(driver_named("Memory"), "", 0, 0, 0, GDT_Unknown, nullptr));
    OGRLayerH l =
        mem ? GDALDatasetCreateLayer(mem.get(), "regions", nullptr, wkbPolygon, nullptr) : nullptr;
    if (!l) {
        why = "kein Speicher fuer die Zonen";
        return false;
    }
    OGRFieldDefnH fd = OGR_Fld_Create("cls", OFTInteger);
    OGR_L_CreateField(l, fd, TRUE);
    OGR_Fld_Destroy(fd);
    if (GDALPolygonize(GDALGetRasterBand(b.dataset(), 1), nullptr, l, 0, nullptr, nullptr,
                       nullptr) != CE_None) {
        why = "Zonen nicht bildbar";
        return false;
    }
    OGR_L_ResetReading(l);
    for (OGRFeatureH raw; (raw = OGR_L_GetNextFeature(l));) {
        const feature f(raw);
        const int cls = OGR_F_GetFieldAsInteger(f.get(), 0);
        if (cls < 1 || cls > 5) continue;
        if (!z.shape[cls]) z.shape[cls] = OGR_G_CreateGeometry(wkbMultiPolygon);
        OGR_G_AddGeometryDirectly(static_cast<OGRGeometryH>(z.shape[cls]),
                                  OGR_F_StealGeometry(f.get()));
    }
    const double cell_area = b.layout().gt[1] * -b.layout().gt[5];
    for (int cls = 1; cls <= 5; ++cls)
        z.area[cls] = static_cast<double>(b.count(static_cast<uint8_t>(cls))) * cell_area;
    return true;
}

struct zone_layer::state {
    dataset ds;
    OGRLayerH layer = nullptr;
    std::string path, driver;
    bool dams = false;
    bool transaction = false;
    int failures = 0; // GDAL's failures so far
    int err = 0;      // the errno of the first
};

zone_layer::zone_layer() = default;
zone_layer::~zone_layer() = default;

bool zone_layer::open(const std::string& path, const std::string& driver, const std::string& wkt,
                      bool dams, std::string& why) {
    quiet_errors q;
    s_ = std::make_unique<state>();
    s_->path = path;
    s_->driver = driver;
    s_->dams = dams;
    s_->ds.reset(
        GDALCreate(driver_named(driver.c_str()), path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    OGRSpatialReferenceH srs = nullptr;
    if (!wkt.empty()) {
        srs = OSRNewSpatialReference(wkt.c_str());
        OSRSetAxisMappingStrategy(srs, OAMS_TRADITIONAL_GIS_ORDER);
    }
    CPLStringList o;
    if (driver == "ESRI Shapefile") o.SetNameValue("ENCODING", "UTF-8");
    OGRLayerH l =
        s_->ds ? GDALDatasetCreateLayer(s_->ds.get(), layer_name, srs, wkbMultiPolygon, o.List())
               : nullptr;
    if (srs) OSRRelease(srs);
    bool ok = l && add_field(l, "kind", OFTString) && add_field(l, "level", OFTInteger) &&
              add_field(l, "label", OFTString) && add_field(l, "area_m2", OFTReal);
    if (ok && dams)
        ok = add_field(l, "orv_dam", OFTString) && add_field(l, "orv_row", OFTInteger64);
    if (ok) {
        s_->layer = l;
        s_->transaction = GDALDatasetStartTransaction(s_->ds.get(), FALSE) == OGRERR_NONE;
    }
    if (ok && q.failures() == 0) return true;
    why = q.reason("Vektorformat");
    s_.reset();
    return false;
}

bool zone_layer::add(zone_shapes& z, const levels& lv, const std::string& dam, std::int64_t row,
                     std::string& why) {
    quiet_errors q;
    OGRFeatureDefnH def = OGR_L_GetLayerDefn(s_->layer);
    for (zone_kind k : all_zones) {
        const int cls = zone_class(k);
        if (!z.shape[cls]) continue;
        const feature f(OGR_F_Create(def));
        OGR_F_SetFieldString(f.get(), 0, zone_kind_name(k));
        if (cls <= 3)
            OGR_F_SetFieldInteger(f.get(), 1, cls);
        else
            OGR_F_SetFieldNull(f.get(), 1);
        OGR_F_SetFieldString(f.get(), 2, zone_label(k, lv).c_str());
        OGR_F_SetFieldDouble(f.get(), 3, z.area[cls]);
        if (s_->dams) {
            OGR_F_SetFieldString(f.get(), 4, dam.c_str());
            OGR_F_SetFieldInteger64(f.get(), 5, row);
        }
        OGR_F_SetGeometryDirectly(f.get(), static_cast<OGRGeometryH>(z.shape[cls]));
        z.shape[cls] = nullptr;
        if (OGR_L_CreateFeature(s_->layer, f.get()) != OGRERR_NONE || q.failures() > 0) {
            why = q.reason("Vektorformat");
            return false;
        }
    }
    return true;
}

bool zone_layer::finish(const levels& lv, const map::zone_colours& c, std::string& why) {
    quiet_errors q;
    bool ok = !s_->transaction || GDALDatasetCommitTransaction(s_->ds.get()) == OGRERR_NONE;
    std::string style_why;
    const bool styled =
        ok && style::store_style(s_->ds.get(), s_->layer, s_->path, zone_qml(lv, c),
                                 "Gefahrenzonen in den Farben der Karten", style_why);
    s_.reset();
    ok = ok && q.failures() == 0;
    if (!ok) {
        why = q.reason("Vektorformat");
        return false;
    }
    if (!styled) {
        why = style_why;
        return false;
    }
    return true;
}

bool write_zones(const raster::class_band& b, const std::string& path, const std::string& driver,
                 const levels& lv, const map::zone_colours& c, std::string& why) {
    zone_shapes z;
    zone_layer l;
    return make_zones(b, z, why) && l.open(path, driver, b.layout().wkt, false, why) &&
           l.add(z, lv, "", 0, why) && l.finish(lv, c, why);
}

} // namespace orv::vector
