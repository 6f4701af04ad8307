// Owning handles for GDAL's objects: each closed or destroyed the way GDAL
// wants when its owner goes.
#pragma once
#include <memory>

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

namespace orv::geo {

struct dataset_close {
    void operator()(GDALDataset* d) const { GDALClose(d); }
};
struct feature_free {
    void operator()(OGRFeature* f) const { OGRFeature::DestroyFeature(f); }
};
struct transform_free {
    void operator()(OGRCoordinateTransformation* c) const {
        OGRCoordinateTransformation::DestroyCT(c);
    }
};

using dataset_handle = std::unique_ptr<GDALDataset, dataset_close>;
using feature_handle = std::unique_ptr<OGRFeature, feature_free>;
using transform_handle = std::unique_ptr<OGRCoordinateTransformation, transform_free>;

} // namespace orv::geo
