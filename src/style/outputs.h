// The styles of the commands' vector outputs, each stored in its file.
#pragma once
#include <string>

#include "map/palette.h"
#include "style/objects_style.h"

namespace orv::style {

// Stores in the dataset at path (a file of a staged output, complete and
// closed) the judged objects' style for each of its layers, the worst
// points' style for a layer named worst_points_layer; labels only on a
// layer that has the label field (a Shapefile may have shortened it).
// False with a German reason in why.
bool style_objects_file(const std::string& path, const object_look& l, std::string& why);

// The layer of each object's worst point, and a file that holds only it.
inline constexpr const char* worst_points_layer = "schlimmste_punkte";
bool style_worst_points_file(const std::string& path, const object_look& l, std::string& why);

// Stores in the register written back at path its style by answer.
bool style_register_file(const std::string& path, const map::object_colours& c, std::string& why);

} // namespace orv::style
