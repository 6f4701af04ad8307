// Where a written layer's style is kept so that a desktop GIS loads it with
// the layer: a GeoPackage's table layer_styles, else a QML file beside.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include <gdal.h>

#include "style/qml.h"

namespace orv::style {

// The shape of layer l's symbols: of its geometry type, or for a layer of
// any geometry the shape all its features share; none for a layer without
// geometry or of mixed geometries, which no one symbol fits.
std::optional<shape> shape_of(OGRLayerH l);

// Stores qml as the default style of layer l of the open dataset ds, a file
// at path of a staged output: a row of the GeoPackage's table layer_styles
// (made when missing), for other formats path with the extension .qml
// beside it (the first layer's style where a file holds several), none for
// a CSV. False with a German reason in why.
bool store_style(GDALDatasetH ds, OGRLayerH l, const std::string& path, const std::string& qml,
                 const std::string& description, std::string& why);

// The style of layer l of shape s; "" for none.
using style_maker = std::function<std::string(shape s, OGRLayerH l)>;

// Opens the dataset at path (a file of a staged output, complete and
// closed) and stores for each of its layers with a shape the style make
// gives, as store_style does. False with a German reason in why.
bool style_file(const std::string& path, const style_maker& make, const std::string& description,
                std::string& why);

} // namespace orv::style
