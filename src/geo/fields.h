// Fields added to a layer through GDAL's C interface.
#pragma once
#include <ogr_api.h>

namespace orv::geo {

// Adds the field name of type (and subtype) to l, approximated where the
// format must; false when the driver refuses it.
bool add_field(OGRLayerH l, const char* name, OGRFieldType type, OGRFieldSubType sub = OFSTNone);

} // namespace orv::geo
