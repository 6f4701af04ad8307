// Fields added to a layer through GDAL's C interface.
#include "geo/fields.h"

namespace orv::geo {

bool add_field(OGRLayerH l, const char* name, OGRFieldType type, OGRFieldSubType sub) {
    OGRFieldDefnH fd = OGR_Fld_Create(name, type);
    OGR_Fld_SetSubType(fd, sub);
    const bool ok = OGR_L_CreateField(l, fd, TRUE) == OGRERR_NONE;
    OGR_Fld_Destroy(fd);
    return ok;
}

} // namespace orv::geo
