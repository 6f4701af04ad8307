// The danger zones' names and their style as a desktop GIS reads it (a
// QML document), in the pictures' colours.
#pragma once
#include <string>

#include "map/palette.h"
#include "model/level.h"

namespace orv::vector {

// The zones a map can have, in the order they are written.
enum class zone_kind { level1, level2, level3, near, beyond };
inline constexpr zone_kind all_zones[] = {zone_kind::level1, zone_kind::level2, zone_kind::level3,
                                          zone_kind::near, zone_kind::beyond};

// The cell class of a zone (classes.h).
int zone_class(zone_kind z);
// The field kind: "level", "near" or "beyond".
const char* zone_kind_name(zone_kind z);
// The German label in UTF-8, with the threshold for levels:
// "Stufe 2: h > 1 m oder q > 1 m²/s".
std::string zone_label(zone_kind z, const levels& lv);

// A QML document that styles the layer's zones by the fields kind and
// level: levels filled in their colours, the zones without a result on the
// grey ground hatched as in the pictures.
std::string zone_qml(const levels& lv, const map::zone_colours& c);

} // namespace orv::vector
