// The parts of a path that writers and readers choose formats by.
#pragma once
#include <string>

namespace orv::io {

// The extension of path's file name, lower case, without the dot; "" when
// the name has none or is a hidden file's name without one.
std::string extension(const std::string& path);

} // namespace orv::io
