// The style of the register written back: the dams by orv_answer.
#pragma once
#include <string>

#include "map/palette.h"
#include "style/qml.h"

namespace orv::style {

// A category per answer of field orv_answer (keys yes, no, open; labels
// "ja", "nein", "offen") and "Fehler" for every other value, which is none
// on a row that failed (orv_error set): yes in the colour of level 3, no
// in that of level 0, open grey and hatched, an error crossed out.
std::string register_qml(shape s, const map::object_colours& c);

} // namespace orv::style
