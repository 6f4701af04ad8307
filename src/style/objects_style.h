// The styles of judged objects: by orv_level in the levels' colours, those
// left open or computed in part hatched over their level, those without a
// result grey and hatched, as the pictures draw them over a map.
#pragma once
#include <string>

#include "map/palette.h"
#include "model/level.h"
#include "style/qml.h"

namespace orv::style {

// What the style of judged objects is made of: the thresholds (for the
// legend), the pictures' colours and the field that labels the objects
// ("" for no labels).
struct object_look {
    levels lv;
    map::object_colours colours;
    std::string label;
};

// The legend's words of level k with threshold t: "Stufe 0 (darunter)",
// "Stufe 2: h > 1 m oder q > 1 m²/s".
std::string level_legend(int k, const levels& lv);

// The style of a layer of judged objects of shape s (fields orv_level,
// orv_open and orv_state): a rule per level, one for the objects left open,
// one for those computed in part and one for those not computed.
std::string objects_qml(shape s, const object_look& l);

// The style of a layer of points that has orv_level and orv_label (the
// worst point of each object): a marker per level, grey for none; labelled
// with orv_label when l names a label field.
std::string worst_points_qml(const object_look& l);

} // namespace orv::style
