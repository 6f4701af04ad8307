// The worst points' layer written with OGR into a dataset opened by its caller.
#include "assess/worst_points.h"

#include <filesystem>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "assess/quiet.h"

namespace orv::assess {

namespace {

// The layer's fields, in their order.
enum point_field { p_level, p_label, p_fid, p_layer, p_count };
constexpr const char* point_names[p_count] = {"orv_level", "orv_label", "orv_fid", "orv_layer"};
constexpr OGRFieldType point_types[p_count] = {OFTInteger, OFTString, OFTInteger64, OFTString};

// Creates the layer with its fields in ds; null with why.
OGRLayer* create_layer(GDALDataset& ds, const OGRSpatialReference* srs, bool csv,
                       std::string& why) {
    CPLStringList options;
    if (csv) options.SetNameValue("GEOMETRY", "AS_WKT");
    OGRSpatialReference* own = srs ? srs->Clone() : nullptr;
    OGRLayer* l = ds.CreateLayer(worst_layer, own, wkbPoint, options.List());
    if (own) own->Release();
    if (!l) {
        why = std::string("Ebene ") + worst_layer + " nicht anlegbar";
        return nullptr;
    }
    for (int k = 0; k < p_count; ++k) {
        OGRFieldDefn d(point_names[k], point_types[k]);
        if (l->CreateField(&d, TRUE) != OGRERR_NONE) {
            why = std::string("Ebene ") + worst_layer + ": Feld " + point_names[k] +
                  " nicht anlegbar";
            return nullptr;
        }
    }
    return l;
}

} // namespace

std::string worst_points_path(const std::string& path) {
    const std::filesystem::path p(path);
    std::filesystem::path side = p;
    side.replace_filename(p.stem().string() + "_" + worst_layer + p.extension().string());
    return side.string();
}

void worst_points::begin_layer(std::string name) {
    layers_.push_back(std::move(name));
}

void worst_points::add(double e, double n, int level, std::int64_t fid, std::string label) {
    points_.push_back(
        {e, n, level, fid, std::move(label), layers_.empty() ? 0 : layers_.size() - 1});
}

bool worst_points::write(GDALDataset& ds, const OGRSpatialReference* srs, bool csv,
                         std::string& why) const {
    quiet_gdal q; // GDAL's own words stay out of the message
    OGRLayer* l = create_layer(ds, srs, csv, why);
    if (!l) return false;
    const bool tx = ds.StartTransaction() == OGRERR_NONE;
    for (const worst_point& p : points_) {
        OGRFeature f(l->GetLayerDefn());
        f.SetField(p_level, p.level);
        f.SetField(p_label, p.label.c_str());
        f.SetField(p_fid, static_cast<GIntBig>(p.fid));
        f.SetField(p_layer, p.layer < layers_.size() ? layers_[p.layer].c_str() : "");
        f.SetGeometryDirectly(new OGRPoint(p.e, p.n));
        if (l->CreateFeature(&f) != OGRERR_NONE) {
            why = std::string("Ebene ") + worst_layer + ", Punkt von Objekt " +
                  std::to_string(p.fid) + " nicht schreibbar";
            return false;
        }
    }
    if (tx && ds.CommitTransaction() != OGRERR_NONE) {
        why = std::string("Ebene ") + worst_layer + " nicht schreibbar";
        return false;
    }
    return true;
}

} // namespace orv::assess
