// Styles stored in a GeoPackage's layer_styles table or beside the file.
#include "style/store.h"

#include <cerrno>
#include <ctime>

#include <fcntl.h>
#include <unistd.h>

#include <ogr_api.h>

#include "geo/context.h"
#include "geo/fields.h"
#include "geo/handles.h"
#include "io/os_error.h"
#include "io/output.h"
#include "io/path.h"

namespace orv::style {

namespace {

constexpr const char* table_name = "layer_styles";

using geo::add_field;

// The table a desktop GIS reads a layer's default style from: the one of
// ds, made with the columns that GIS expects when ds has none yet.
OGRLayerH style_table(GDALDatasetH ds) {
    if (OGRLayerH t = GDALDatasetGetLayerByName(ds, table_name)) return t;
    const char* opts[] = {"FID=id", nullptr};
    OGRLayerH t =
        GDALDatasetCreateLayer(ds, table_name, nullptr, wkbNone, const_cast<char**>(opts));
    if (!t) return nullptr;
    const char* text[] = {"f_table_catalog", "f_table_schema", "f_table_name", "f_geometry_column",
                          "styleName",       "styleQML",       "styleSLD"};
    bool ok = true;
    for (const char* name : text) ok = ok && add_field(t, name, OFTString);
    ok = ok && add_field(t, "useAsDefault", OFTInteger, OFSTBoolean);
    for (const char* name : {"description", "owner", "ui"})
        ok = ok && add_field(t, name, OFTString);
    ok = ok && add_field(t, "update_time", OFTDateTime);
    return ok ? t : nullptr;
}

// One row of the table: qml as the default style of layer l.
bool add_row(GDALDatasetH ds, OGRLayerH l, const std::string& qml, const std::string& description) {
    OGRLayerH t = style_table(ds);
    if (!t) return false;
    const geo::c_feature_handle f(OGR_F_Create(OGR_L_GetLayerDefn(t)));
    auto set = [&](const char* field, const char* value) {
        OGR_F_SetFieldString(f.get(), OGR_F_GetFieldIndex(f.get(), field), value);
    };
    set("f_table_catalog", "");
    set("f_table_schema", "");
    set("f_table_name", OGR_L_GetName(l));
    set("f_geometry_column", OGR_L_GetGeometryColumn(l));
    set("styleName", OGR_L_GetName(l));
    set("styleQML", qml.c_str());
    set("styleSLD", "");
    OGR_F_SetFieldInteger(f.get(), OGR_F_GetFieldIndex(f.get(), "useAsDefault"), 1);
    set("description", description.c_str());
    set("owner", "");
    OGR_F_SetFieldNull(f.get(), OGR_F_GetFieldIndex(f.get(), "ui"));
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    OGR_F_SetFieldDateTime(f.get(), OGR_F_GetFieldIndex(f.get(), "update_time"), utc.tm_year + 1900,
                           utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, 100);
    return OGR_L_CreateFeature(t, f.get()) == OGRERR_NONE;
}

// Writes text to path unless path exists (a style written for an earlier
// layer of the file); 0 or the errno of the failure.
int write_new(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return errno == EEXIST ? 0 : errno;
    const int err = io::write_all(fd, text.data(), text.size());
    if (::close(fd) != 0 && err == 0) return errno;
    return err;
}

// The shape of geometries of type t (flat), none for collections and none.
std::optional<shape> shape_of_type(OGRwkbGeometryType t) {
    if (t == wkbPoint || t == wkbMultiPoint) return shape::point;
    if (OGR_GT_IsCurve(t) || OGR_GT_IsSubClassOf(t, wkbMultiCurve)) return shape::line;
    if (OGR_GT_IsSurface(t) || OGR_GT_IsSubClassOf(t, wkbMultiSurface)) return shape::polygon;
    return std::nullopt;
}

std::string driver_of(GDALDatasetH ds) {
    GDALDriverH d = GDALGetDatasetDriver(ds);
    return d ? GDALGetDriverShortName(d) : "";
}

} // namespace

std::optional<shape> shape_of(OGRLayerH l) {
    const OGRwkbGeometryType t = OGR_GT_Flatten(OGR_L_GetGeomType(l));
    if (t != wkbUnknown) return shape_of_type(t);
    // A layer of any geometry (one read from a CSV): the shape all its
    // features share, none when they differ or have none.
    std::optional<shape> all;
    OGR_L_ResetReading(l);
    for (OGRFeatureH raw; (raw = OGR_L_GetNextFeature(l));) {
        const geo::c_feature_handle f(raw);
        OGRGeometryH g = OGR_F_GetGeometryRef(f.get());
        if (!g) continue;
        const std::optional<shape> one = shape_of_type(OGR_GT_Flatten(OGR_G_GetGeometryType(g)));
        if (!one || (all && *all != *one)) return std::nullopt;
        all = one;
    }
    return all;
}

bool store_style(GDALDatasetH ds, OGRLayerH l, const std::string& path, const std::string& qml,
                 const std::string& description, std::string& why) {
    const std::string driver = driver_of(ds);
    if (driver == "CSV") return true;
    if (driver == "GPKG") {
        geo::messages q;
        if (add_row(ds, l, qml, description) && q.count() == 0) return true;
        why = "Stil nicht schreibbar" + q.detail();
        return false;
    }
    const std::string beside = io::with_extension(path, "qml");
    if (const int err = write_new(beside, qml)) {
        why = "Stil " + beside + " nicht schreibbar: " + io::os_error(err, io::use::write);
        return false;
    }
    return true;
}

bool style_file(const std::string& path, const style_maker& make, const std::string& description,
                std::string& why) {
    geo::register_drivers();
    geo::messages q;
    geo::c_dataset_handle ds(GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
    if (ds && driver_of(ds.get()) == "GPKG")
        ds.reset(
            GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, nullptr, nullptr, nullptr));
    if (!ds) {
        why = "Stil nicht schreibbar: Datei nicht lesbar" + q.detail();
        return false;
    }
    if (driver_of(ds.get()) == "CSV") return true;
    const int n = GDALDatasetGetLayerCount(ds.get());
    for (int k = 0; k < n; ++k) {
        OGRLayerH l = GDALDatasetGetLayer(ds.get(), k);
        const std::optional<shape> s = shape_of(l);
        if (!s || std::string(OGR_L_GetName(l)) == table_name) continue;
        const std::string qml = make(*s, l);
        if (!qml.empty() && !store_style(ds.get(), l, path, qml, description, why)) return false;
    }
    GDALClose(ds.release());
    if (q.count() == 0) return true;
    why = "Stil nicht schreibbar" + q.detail();
    return false;
}

} // namespace orv::style
