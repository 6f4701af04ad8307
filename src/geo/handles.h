// Owning handles for GDAL's objects: each closed or destroyed the way GDAL
// wants when its owner goes.
#pragma once
#include <memory>
#include <type_traits>

#include <gdal.h>
#include <gdal_priv.h>
#include <ogr_api.h>
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

// The same owners for handles of GDAL's C interface.
struct c_dataset_close {
    void operator()(GDALDatasetH d) const { GDALClose(d); }
};
struct c_feature_free {
    void operator()(OGRFeatureH f) const { OGR_F_Destroy(f); }
};

using c_dataset_handle = std::unique_ptr<void, c_dataset_close>;
using c_feature_handle = std::unique_ptr<std::remove_pointer_t<OGRFeatureH>, c_feature_free>;

} // namespace orv::geo
