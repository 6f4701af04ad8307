// The judged objects' and the register's styles stored in their files.
#include "style/outputs.h"

#include <ogr_api.h>

#include "style/register_style.h"
#include "style/store.h"

namespace orv::style {

bool style_objects_file(const std::string& path, const object_look& l, std::string& why) {
    const style_maker make = [&](shape s, OGRLayerH layer) {
        object_look own = l;
        if (s == shape::point && std::string(OGR_L_GetName(layer)) == worst_points_layer)
            return worst_points_qml(own);
        if (!own.label.empty() &&
            OGR_FD_GetFieldIndex(OGR_L_GetLayerDefn(layer), own.label.c_str()) < 0)
            own.label.clear();
        return objects_qml(s, own);
    };
    return style_file(path, make, "Beurteilte Objekte in den Farben der Karten", why);
}

bool style_worst_points_file(const std::string& path, const object_look& l, std::string& why) {
    const style_maker make = [&](shape s, OGRLayerH) {
        return s == shape::point ? worst_points_qml(l) : std::string();
    };
    return style_file(path, make, "Schlimmste Punkte der Objekte in den Farben der Karten", why);
}

bool style_register_file(const std::string& path, const map::object_colours& c, std::string& why) {
    const style_maker make = [&](shape s, OGRLayerH) { return register_qml(s, c); };
    return style_file(path, make, "Anlagen nach ihrer Antwort", why);
}

} // namespace orv::style
