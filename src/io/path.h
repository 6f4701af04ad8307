// The parts of a path that writers and readers choose formats and sidecars by.
#pragma once
#include <string>

namespace orv::io {

// The extension of path's file name, lower case, without the dot; "" when
// the name has none or is a hidden file's name without one.
std::string extension(const std::string& path);

// path with the extension of its file name replaced by ext (added when it
// has none): where a desktop GIS looks for a file's style.
std::string with_extension(const std::string& path, const std::string& ext);

} // namespace orv::io
